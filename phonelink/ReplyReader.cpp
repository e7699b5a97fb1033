#include "phonelink/ReplyReader.h"

#include <string_view>
#include <utility>

namespace qb {
namespace {

// The quiet-line rule: the first look at the line, then the quiet that ends a reply.
constexpr int FirstCheckMs = 50;
constexpr int CheckIntervalMs = 100;

} // namespace

ReplyReader::ReplyReader(AtPort* port, QObject* parent) : QObject(parent), m_port(port) {
    m_check.setSingleShot(true);
    connect(&m_check, &QTimer::timeout, this, &ReplyReader::check);
    if (port)
        connect(port, &AtPort::received, this, &ReplyReader::take);
}

void ReplyReader::read(int finalCodes, Done done) {
    m_done = std::move(done);
    m_codes = FinalCodeCounter(finalCodes);
    m_whole = std::string::npos;
    m_arrived = !m_bytes.empty();
    m_codes.feed(m_bytes);
    if (m_codes.complete())
        m_whole = m_bytes.size();
    // A reply already whole is still handed over from the event loop, never
    // from inside this call.
    m_check.start(m_codes.complete() ? 0 : FirstCheckMs);
}

void ReplyReader::abandon() {
    m_done = nullptr;
    m_check.stop();
}

void ReplyReader::take(const std::string& bytes) {
    m_bytes += bytes;
    // Bytes after the codes that made the reply whole open the next one.
    if (!isReading() || m_codes.complete())
        return;
    m_arrived = true;
    m_codes.feed(bytes);
    if (m_codes.complete()) {
        m_whole = m_bytes.size();
        m_check.start(0);
    }
}

void ReplyReader::check() {
    if (m_codes.complete() || !m_arrived) {
        finish();
        return;
    }
    m_arrived = false;
    m_check.start(CheckIntervalMs);
}

void ReplyReader::finish() {
    Done done = std::exchange(m_done, nullptr);
    std::string reply;
    if (m_whole < m_bytes.size()) {
        reply = m_bytes.substr(0, m_whole);
        m_bytes.erase(0, m_whole);
    } else {
        reply = std::exchange(m_bytes, {});
    }
    if (done)
        done(std::move(reply));
}

} // namespace qb
