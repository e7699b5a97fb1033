// The libudev half of the modem discovery. Only sysfs attributes are needed
// for the record, so enumeration works without udevd (and under umockdev).
#include "phonelink/UsbModems.h"

#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <typename T> using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string text(const char* value) {
    if (!value)
        return {};
    // sysfs pads some numbers with blanks (" 2"); the values are single lines.
    std::string s = value;
    const auto first = s.find_first_not_of(" \t\n");
    const auto last = s.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

std::string sysattr(udev_device* device, const char* name) {
    return text(udev_device_get_sysattr_value(device, name));
}

// The values for one tty, or false when it is not an interface of a USB device.
bool readModemAttributes(udev_device* tty, UsbModemAttributes& a) {
    udev_device* iface = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_interface");
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (!iface || !usb)
        return false;
    a.interfaceClass = sysattr(iface, "bInterfaceClass");
    a.interfaceSubClass = sysattr(iface, "bInterfaceSubClass");
    a.devNode = text(udev_device_get_devnode(tty));
    a.ttySyspath = text(udev_device_get_syspath(tty));
    a.usbSysname = text(udev_device_get_sysname(usb));
    a.idVendor = sysattr(usb, "idVendor");
    a.idProduct = sysattr(usb, "idProduct");
    a.product = sysattr(usb, "product");
    a.modelFromDatabase = text(udev_device_get_property_value(usb, "ID_MODEL_FROM_DATABASE"));
    a.busnum = sysattr(usb, "busnum");
    a.devnum = sysattr(usb, "devnum");
    a.devpath = sysattr(usb, "devpath");
    return true;
}

// The values of every tty that is an interface of a USB device, in the
// system's enumeration order; none when udev cannot be asked.
std::vector<UsbModemAttributes> usbTtys() {
    std::vector<UsbModemAttributes> result;
    UdevPtr<udev> context(udev_new());
    if (!context)
        return result;
    UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
        return result;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        const char* syspath = udev_list_entry_get_name(entry);
        UdevPtr<udev_device> tty(udev_device_new_from_syspath(context.get(), syspath));
        UsbModemAttributes attrs;
        if (tty && readModemAttributes(tty.get(), attrs) && !attrs.devNode.empty())
            result.push_back(std::move(attrs));
    }
    return result;
}

// Whether two paths name the same file once their links are followed (a
// node and its /dev/serial/by-id link).
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

std::vector<UsbModem> findUsbModems() {
    std::vector<UsbModem> result;
    for (const UsbModemAttributes& attrs : usbTtys()) {
        if (isPhoneModem(attrs))
            result.push_back(mapUsbModem(attrs));
    }
    return result;
}

UsbModem modemAtPath(const std::string& path) {
    for (const UsbModemAttributes& attrs : usbTtys()) {
        if (attrs.devNode == path || sameFile(attrs.devNode, path))
            return mapUsbModem(attrs);
    }
    UsbModem bare;
    bare.devNode = path;
    bare.productName = path;
    bare.deviceId = deviceIdKey(path, {});
    return bare;
}

UdevMonitor::UdevMonitor(udev* context, udev_monitor* monitor)
    : m_udev(context), m_monitor(monitor) {}

UdevMonitor::~UdevMonitor() {
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

int UdevMonitor::fd() const {
    return udev_monitor_get_fd(m_monitor);
}

std::vector<TtyEvent> UdevMonitor::takeEvents() {
    // The monitor socket is non-blocking: this returns when the queue is empty.
    std::vector<TtyEvent> events;
    while (UdevPtr<udev_device> device{udev_monitor_receive_device(m_monitor)}) {
        events.push_back({text(udev_device_get_action(device.get())),
                          text(udev_device_get_devnode(device.get())),
                          text(udev_device_get_syspath(device.get()))});
    }
    return events;
}

bool eventNamesModem(const TtyEvent& event, const UsbModem& modem) {
    return (!event.devNode.empty() && event.devNode == modem.devNode) ||
           (!event.sysPath.empty() && event.sysPath == modem.sysPath);
}

std::unique_ptr<UdevMonitor> UdevMonitor::create() {
    UdevPtr<udev> context(udev_new());
    if (!context)
        return nullptr;
    // udevd's events come after its rules have set the node's permissions; without
    // udevd only the kernel's own events exist.
    const char* source = access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    UdevPtr<udev_monitor> monitor(udev_monitor_new_from_netlink(context.get(), source));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0)
        return nullptr;
    return std::make_unique<UdevMonitor>(context.release(), monitor.release());
}

} // namespace qb
