// quillbox-demo-probe: what Quillbox does with the phone, in miniature. Finds
// the Motorola modem with libudev, reads the message listing over its tty
// and, with --replug, asks the launcher (its parent) to unplug and plug the
// phone, checking that the line hangs up and that the phone comes back as a
// new device. With --standard it finds another maker's modem instead and
// lists its messages by the standard command in PDU mode. Exits 0 when
// everything went as a real phone would.
#include <libudev.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char Motorola[] = "22b8";

struct Modem {
    std::string devnode;
    std::string devnum;
    std::string product;
};

// The modem of Motorola's, or with `motorola` false of any other vendor's.
Modem findModem(udev* u, bool motorola = true) {
    Modem found;
    udev_enumerate* e = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(e, "tty");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
        udev_device* tty = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
        udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
        const char* vendor = usb ? udev_device_get_sysattr_value(usb, "idVendor") : nullptr;
        if (vendor && (std::strcmp(vendor, Motorola) == 0) == motorola &&
            udev_device_get_devnode(tty)) {
            found.devnode = udev_device_get_devnode(tty);
            found.devnum = udev_device_get_sysattr_value(usb, "devnum");
            const char* product = udev_device_get_sysattr_value(usb, "product");
            found.product = product ? product : "";
        }
        udev_device_unref(tty);
    }
    udev_enumerate_unref(e);
    return found;
}

int openRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Everything until the line is quiet for 500 ms (at most 10 s).
std::string exchange(int fd, const std::string& commands) {
    if (write(fd, commands.data(), commands.size()) < 0)
        return {};
    std::string reply;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 500) <= 0 || !(p.revents & POLLIN))
            break;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        reply.append(buffer, static_cast<std::size_t>(n));
    }
    return reply;
}

// Waits for a uevent with the given action on a tty (at most 10 s).
bool waitForEvent(udev_monitor* monitor, const char* action) {
    const int fd = udev_monitor_get_fd(monitor);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 500) <= 0)
            continue;
        udev_device* d = udev_monitor_receive_device(monitor);
        const bool match = d && std::strcmp(udev_device_get_action(d), action) == 0;
        if (d)
            udev_device_unref(d);
        if (match)
            return true;
    }
    return false;
}

bool check(bool ok, const char* what) {
    std::fprintf(stderr, "probe: %s: %s\n", ok ? "ok" : "FAILED", what);
    return ok;
}

int probeStandardPhone(udev* u) {
    const Modem modem = findModem(u, false);
    if (!check(!modem.devnode.empty(), "another maker's modem is listed"))
        return 1;
    std::fprintf(stderr, "probe: %s at %s\n", modem.product.c_str(), modem.devnode.c_str());
    const int fd = openRaw(modem.devnode);
    const std::string listing = exchange(fd, "AT\r\nAT+CMGF=0\r\nAT+CMGL=4\r\n");
    close(fd);
    std::fwrite(listing.data(), 1, std::min<std::size_t>(listing.size(), 300), stdout);
    return check(listing.find("+CMGL: ") != std::string::npos,
                 "the phone lists its messages in PDU mode")
               ? 0
               : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool replug = argc > 1 && std::strcmp(argv[1], "--replug") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--standard") == 0) {
        udev* u = udev_new();
        const int status = probeStandardPhone(u);
        udev_unref(u);
        return status;
    }
    udev* u = udev_new();
    udev_monitor* monitor = udev_monitor_new_from_netlink(u, "kernel");
    udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr);
    udev_monitor_enable_receiving(monitor);

    const Modem first = findModem(u);
    if (!check(!first.devnode.empty(), "a Motorola modem is listed"))
        return 1;
    int fd = openRaw(first.devnode);
    const std::string listing =
        exchange(fd, "AT\r\nAT+CMGF=1\r\nAT+CSCS=UCS2\r\nat+mmgl=\"ALL\"\r\n");
    std::fwrite(listing.data(), 1, std::min<std::size_t>(listing.size(), 300), stdout);
    bool ok = check(listing.find("+MMGL: ") != std::string::npos, "the phone lists its messages");
    if (!replug)
        return ok ? 0 : 1;

    kill(getppid(), SIGUSR1);
    ok &= check(waitForEvent(monitor, "remove"), "a remove event arrives");
    pollfd p{fd, POLLIN, 0};
    ok &= check(poll(&p, 1, 5000) == 1 && (p.revents & POLLHUP), "the line hangs up");
    close(fd);
    kill(getppid(), SIGUSR2);
    ok &= check(waitForEvent(monitor, "add"), "an add event arrives");
    const Modem second = findModem(u);
    ok &=
        check(!second.devnum.empty() && second.devnum != first.devnum, "the phone is a new device");
    fd = openRaw(second.devnode);
    ok &= check(exchange(fd, "AT\r\n").find("OK") != std::string::npos, "the phone answers again");
    close(fd);
    return ok ? 0 : 1;
}
