// The libudev half of USBCtrls. Only sysfs attributes are needed for the
// record, so enumeration works without udevd (and under umockdev).
#include "phonelink/USBCtrls.h"

#include <libudev.h>
#include <unistd.h>

#include <cstring>

namespace qb {
namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <typename T> using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string text(const char* value)
{
    if (!value)
        return {};
    // sysfs pads some numbers with blanks (" 2"); the values are single lines.
    std::string s = value;
    const auto first = s.find_first_not_of(" \t\n");
    const auto last = s.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

std::string sysattr(udev_device* device, const char* name)
{
    return text(udev_device_get_sysattr_value(device, name));
}

bool isUsbClassGuid(const std::string& classGuid)
{
    return strcasecmp(classGuid.c_str(), GUID_DEVINTERFACE_USB_DEVICE) == 0;
}

// The values for one tty, or false when it is not an ACM (02/02) interface of a USB device.
bool readModemAttributes(udev_device* tty, UsbModemAttributes& a)
{
    udev_device* iface = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_interface");
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (!iface || !usb)
        return false;
    a.interfaceClass = sysattr(iface, "bInterfaceClass");
    a.interfaceSubClass = sysattr(iface, "bInterfaceSubClass");
    if (a.interfaceClass != "02" || a.interfaceSubClass != "02")
        return false;
    a.ttyName = text(udev_device_get_sysname(tty));
    a.devNode = text(udev_device_get_devnode(tty));
    a.interfaceDriver = text(udev_device_get_driver(iface));
    a.usbSysname = text(udev_device_get_sysname(usb));
    a.usbSyspath = text(udev_device_get_syspath(usb));
    a.idVendor = sysattr(usb, "idVendor");
    a.idProduct = sysattr(usb, "idProduct");
    a.bcdDevice = sysattr(usb, "bcdDevice");
    a.deviceClass = sysattr(usb, "bDeviceClass");
    a.deviceSubClass = sysattr(usb, "bDeviceSubClass");
    a.deviceProtocol = sysattr(usb, "bDeviceProtocol");
    a.manufacturer = sysattr(usb, "manufacturer");
    a.product = sysattr(usb, "product");
    a.modelFromDatabase = text(udev_device_get_property_value(usb, "ID_MODEL_FROM_DATABASE"));
    a.busnum = sysattr(usb, "busnum");
    a.devnum = sysattr(usb, "devnum");
    a.devpath = sysattr(usb, "devpath");
    a.removable = sysattr(usb, "removable");
    return true;
}

} // namespace

TUSBDevises GetUSBDevises(const std::string& classGuid, const std::string& filter)
{
    TUSBDevises result;
    if (!isUsbClassGuid(classGuid))
        return result;
    UdevPtr<udev> context(udev_new());
    if (!context)
        return result;
    UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
        return result;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        const char* syspath = udev_list_entry_get_name(entry);
        UdevPtr<udev_device> tty(udev_device_new_from_syspath(context.get(), syspath));
        UsbModemAttributes attrs;
        if (!tty || !readModemAttributes(tty.get(), attrs))
            continue;
        TUSBDevise record = MapUsbModem(attrs);
        if (!record.DevicePath.empty() && MatchesNameFilter(record.DeviceDesc, filter))
            result.push_back(std::move(record));
    }
    return result;
}

UsbDeviseMonitor::UsbDeviseMonitor(udev* context, udev_monitor* monitor)
    : m_udev(context), m_monitor(monitor)
{
}

UsbDeviseMonitor::~UsbDeviseMonitor()
{
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

int UsbDeviseMonitor::fd() const { return udev_monitor_get_fd(m_monitor); }

std::vector<std::string> UsbDeviseMonitor::takeActions()
{
    // The monitor socket is non-blocking: this returns when the queue is empty.
    std::vector<std::string> actions;
    while (UdevPtr<udev_device> device{udev_monitor_receive_device(m_monitor)})
        actions.push_back(text(udev_device_get_action(device.get())));
    return actions;
}

std::unique_ptr<UsbDeviseMonitor> RegisterUSBDeviseNotification(const std::string& classGuid)
{
    if (!isUsbClassGuid(classGuid))
        return nullptr;
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
    return std::make_unique<UsbDeviseMonitor>(context.release(), monitor.release());
}

} // namespace qb
