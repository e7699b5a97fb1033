#include "tools/demo/MockedPhone.h"

#include <fcntl.h>
#include <stdlib.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace qb {

namespace {

std::string padded(int value) {
    std::string s = std::to_string(value);
    return std::string(s.size() < 3 ? 3 - s.size() : 0, '0') + s;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

// Value of the first "<tag>: <key>=" line, e.g. ("A", "devnum").
std::string field(const std::string& description, const std::string& prefix) {
    const auto pos = description.find("\n" + prefix);
    if (pos == std::string::npos)
        return {};
    const auto start = pos + 1 + prefix.size();
    return description.substr(start, description.find('\n', start) - start);
}

} // namespace

// umockdev leaves the bus and class links of a removed device behind, and
// adding the device again fails on them.
// umockdev keeps the phone's pty open after the device is removed, so the
// program would never see the line drop; a real unplug hangs the tty up.
// The master is replaced by /dev/null under the same number, which the
// testbed still owns and closes at the end. The testbed also remembers the
// node name for good, so the phone comes back under the next minor, as it
// does on a kernel where the old minor is still held.
void MockedPhone::hangUp() {
    char slave[64] = {};
    if (m_fd < 0 || ptsname_r(m_fd, slave, sizeof slave) != 0)
        return;
    std::string link = slave;
    std::replace(link.begin(), link.end(), '/', '_');
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(rootDir()) / "dev" / ".ptymap" / link, ec);
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    dup2(null, m_fd);
    close(null);
    m_fd = -1;
}

void MockedPhone::removeDanglingLinks() const {
    namespace fs = std::filesystem;
    const fs::path sys = fs::path(rootDir()) / "sys";
    std::error_code ec;
    for (const char* top : {"bus", "class"})
        for (auto it = fs::recursive_directory_iterator(sys / top, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_symlink(ec) && !fs::exists(it->path(), ec))
                fs::remove(it->path(), ec);
}

MockedPhone::MockedPhone(std::string description)
    : m_testbed(umockdev_testbed_new()), m_description(std::move(description)) {
    m_devnode = field(m_description, "E: DEVNAME=/dev/tty");
    m_devnode = m_devnode.empty() ? "/dev/ttyACM0" : "/dev/tty" + m_devnode;
    m_devnum = std::atoi(field(m_description, "A: devnum=").c_str());
}

MockedPhone::~MockedPhone() {
    unplug();
    g_object_unref(m_testbed);
}

std::string MockedPhone::rootDir() const {
    gchar* dir = umockdev_testbed_get_root_dir(m_testbed);
    std::string result = dir;
    g_free(dir);
    return result;
}

// The description with the current devnum in every place the kernel shows it.
std::string MockedPhone::describe() const {
    std::string text = m_description;
    const std::string busnum = field(text, "A: busnum=");
    const std::string oldDevnum = field(text, "A: devnum=");
    const std::string tty = m_devnode.substr(5); // "ttyACM0"
    const std::string ttyBase = tty.substr(0, tty.find_first_of("0123456789"));
    const int firstMinor = std::atoi(tty.substr(ttyBase.size()).c_str());
    replaceAll(text, tty, ttyBase + std::to_string(m_minor));
    replaceAll(text, "E: MINOR=" + std::to_string(firstMinor) + "\n",
               "E: MINOR=" + std::to_string(m_minor) + "\n");
    replaceAll(text, ":" + std::to_string(firstMinor) + "\n", ":" + std::to_string(m_minor) + "\n");
    const std::string bus = "bus/usb/" + padded(std::atoi(busnum.c_str())) + "/";
    replaceAll(text, bus + padded(std::atoi(oldDevnum.c_str())), bus + padded(m_devnum));
    replaceAll(text, "DEVNUM=" + padded(std::atoi(oldDevnum.c_str())),
               "DEVNUM=" + padded(m_devnum));
    replaceAll(text, "A: devnum=" + oldDevnum + "\n",
               "A: devnum=" + std::to_string(m_devnum) + "\n");
    return text;
}

int MockedPhone::plug(std::string& error) {
    if (m_plugged)
        unplug();
    if (m_minor < 0)
        m_minor = std::atoi(m_devnode.substr(m_devnode.find_first_of("0123456789")).c_str());
    const std::string description = describe();
    m_syspaths.clear();
    std::istringstream in(description);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("P: ", 0) == 0)
            m_syspaths.push_back("/sys" + line.substr(3));
    GError* gerror = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, description.c_str(), &gerror)) {
        error = gerror ? gerror->message : "cannot add the device";
        g_clear_error(&gerror);
        return -1;
    }
    for (const auto& syspath : m_syspaths)
        umockdev_testbed_uevent(m_testbed, syspath.c_str(), "add");
    m_plugged = true;
    const std::string devnode =
        m_devnode.substr(0, m_devnode.find_first_of("0123456789")) + std::to_string(m_minor);
    const int fd = umockdev_testbed_get_dev_fd(m_testbed, devnode.c_str());
    m_fd = fd;
    if (fd >= 0) // a child holding the phone's side would keep the line up after an unplug
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    else
        error = "no pty for " + devnode;
    return fd;
}

void MockedPhone::unplug() {
    if (!m_plugged)
        return;
    for (auto it = m_syspaths.rbegin(); it != m_syspaths.rend(); ++it)
        umockdev_testbed_uevent(m_testbed, it->c_str(), "remove");
    // Removing the USB device takes its interfaces and the tty with it.
    for (auto it = m_syspaths.rbegin(); it != m_syspaths.rend(); ++it)
        umockdev_testbed_remove_device(m_testbed, it->c_str());
    hangUp();
    removeDanglingLinks();
    m_plugged = false;
    ++m_devnum;
    ++m_minor;
}

} // namespace qb
