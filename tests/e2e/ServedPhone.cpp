#include "ServedPhone.h"
#include "ServingLoop.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace qb::e2e {

namespace {

std::string deviceDescription(const char* device) {
    std::ifstream file(std::string(QUILLBOX_TEST_DATA "/devices/") + device + ".umockdev");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

ServedPhone::ServedPhone(PhoneContent content, ServeTiming timing, const char* device)
    : m_device(deviceDescription(device)), m_phone(std::move(content)),
      m_server(m_phone, timing, nullptr) {
    // The server logs through the observer; the test keeps the lines instead.
    // It is called from service(), that is with m_mutex held.
    m_phone.setCommandObserver([this](std::string_view line) { m_commands.emplace_back(line); });
}

ServedPhone::~ServedPhone() {
    unplug();
}

bool ServedPhone::plug(std::string& error) {
    const int fd = m_device.plug(error);
    if (fd < 0 || pipe2(m_stop, O_CLOEXEC) != 0)
        return false;
    m_server.attach(fd);
    m_thread = std::thread([this] { serve(m_stop[0]); });
    return true;
}

void ServedPhone::unplug() {
    stopServing();
    m_device.unplug();
}

void ServedPhone::stopServing() {
    if (!m_thread.joinable())
        return;
    const char stop = 's';
    [[maybe_unused]] const ssize_t written = ::write(m_stop[1], &stop, 1);
    m_thread.join();
    m_server.detach();
    for (int& fd : m_stop) {
        ::close(fd);
        fd = -1;
    }
}

void ServedPhone::serve(int stopFd) {
    serveThroughReopens(m_server, stopFd, m_mutex);
}

std::vector<std::string> ServedPhone::commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

int ServedPhone::countCommands(std::string_view prefix) const {
    int count = 0;
    for (const std::string& line : commands())
        count += line.starts_with(prefix) ? 1 : 0;
    return count;
}

PhoneContent ServedPhone::content() const {
    std::lock_guard lock(m_mutex);
    return m_phone.content();
}

} // namespace qb::e2e
