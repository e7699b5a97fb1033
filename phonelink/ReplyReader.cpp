#include "phonelink/ReplyReader.h"

#include <utility>

namespace qb {
namespace {

// The quiet-line rule: the first look at the line, then the quiet that ends a reply.
constexpr int FirstCheckMs = 50;
constexpr int CheckIntervalMs = 100;

// A reply asked for without commands is bounded all the same.
const ReplyLimits QuietReplyLimits;

} // namespace

ReplyReader::ReplyReader(AtPort* port, QObject* parent) : QObject(parent), m_port(port) {
    for (QTimer* timer : {&m_check, &m_deadline, &m_silence, &m_deliver})
        timer->setSingleShot(true);
    connect(&m_check, &QTimer::timeout, this, &ReplyReader::check);
    connect(&m_deadline, &QTimer::timeout, this, [this] { end(Reply::End::NoAnswer); });
    connect(&m_silence, &QTimer::timeout, this, [this] { end(Reply::End::Stopped); });
    connect(&m_deliver, &QTimer::timeout, this, &ReplyReader::deliver);
    if (port)
        connect(port, &AtPort::received, this, &ReplyReader::take);
}

void ReplyReader::read(std::vector<AwaitedCommand> commands, Done done) {
    m_done = std::move(done);
    m_commands = std::move(commands);
    std::vector<std::string> texts;
    for (const AwaitedCommand& command : m_commands)
        texts.push_back(command.text);
    m_framing = ReplyFraming(std::move(texts));
    m_end.reset();
    m_sinceCode = 0;
    m_arrived = false;
    if (m_commands.empty())
        m_check.start(FirstCheckMs);
    else
        m_deadline.start(limits().answerMs);
    // A reply whose bytes are all here already is still handed over from the
    // event loop, never from inside this call.
    if (!m_next.empty())
        feed(std::exchange(m_next, {}));
}

void ReplyReader::abandon() {
    m_done = nullptr;
    for (QTimer* timer : {&m_check, &m_deadline, &m_silence, &m_deliver})
        timer->stop();
    m_end.reset();
}

void ReplyReader::take(const std::string& bytes) {
    if (!isReading() || m_end) {
        m_next += bytes;
        return;
    }
    feed(bytes);
}

void ReplyReader::feed(std::string_view bytes) {
    const std::size_t codesBefore = m_framing.codes().size();
    const std::size_t taken = m_framing.feed(bytes);
    if (taken < bytes.size())
        m_next.append(bytes.substr(taken));
    m_arrived = true;
    if (m_framing.complete()) {
        end(Reply::End::Whole);
        return;
    }
    m_sinceCode = m_framing.codes().size() > codesBefore ? 0 : m_sinceCode + taken;
    if (m_framing.codes().size() > codesBefore)
        m_deadline.start(limits().answerMs);
    if (m_framing.begun())
        m_silence.start(limits().silenceMs);
    if (m_sinceCode > limits().maxBytes) {
        end(Reply::End::TooLong);
        return;
    }
    // From a zero byte on, and for a reply without commands, only the quiet
    // line can end the reply.
    if ((m_framing.blind() || m_commands.empty()) && !m_check.isActive()) {
        m_arrived = false;
        m_check.start(CheckIntervalMs);
    }
}

void ReplyReader::check() {
    if (m_arrived) {
        m_arrived = false;
        m_check.start(CheckIntervalMs);
        return;
    }
    end(Reply::End::Quiet);
}

void ReplyReader::end(Reply::End end) {
    if (m_end)
        return;
    m_end = end;
    for (QTimer* timer : {&m_check, &m_deadline, &m_silence})
        timer->stop();
    m_deliver.start(0);
}

void ReplyReader::deliver() {
    Done done = std::exchange(m_done, nullptr);
    Reply reply{*m_end, m_framing.reply(), m_framing.codes()};
    m_framing = ReplyFraming();
    m_end.reset();
    if (done)
        done(std::move(reply));
}

const ReplyLimits& ReplyReader::limits() const {
    const std::size_t awaited = m_framing.codes().size();
    return awaited < m_commands.size() ? m_commands[awaited].limits : QuietReplyLimits;
}

} // namespace qb
