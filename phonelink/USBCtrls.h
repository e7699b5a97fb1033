#pragma once
// Finding the phone's USB modem interfaces. On Linux the modem interface is a
// cdc_acm tty (/dev/ttyACMn) under a USB interface of class 02, subclass 02;
// the record below carries the Windows property names the rest of the program
// knows, filled from sysfs attributes of the tty's USB device.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace qb {

// The USB device interface class the modem list enumerates.
inline constexpr char GUID_DEVINTERFACE_USB_DEVICE[] = "{A5DCBF10-6530-11D2-901F-00C04FB951ED}";
// Description of the phone's modem interface, used as the name filter.
inline constexpr char ModemDeviceName[] = "Motorola USB Modem";

struct TUSBDevise {
    uint32_t DevInst = 0;
    std::string DevicePath;
    uint32_t Capabilities = 0;
    std::string Class;
    std::string ClassGUID;
    std::string CompatibleIDs;
    uint32_t ConfigFlags = 0;
    std::string DeviceDesc;
    std::string Driver;
    std::string FriendlyName;
    std::string HardwareID;
    std::string LowerFilters;
    std::string Mfg;
    std::string UpperFilters;
    std::string Address;
    uint32_t BusNumber = 0;
    std::string BusTypeGUID;
    std::string Characteristics;
    std::string DevType;
    std::string EnumeratorName;
    uint32_t Exclusive = 0;
    std::string LegacyBusType;
    std::string LocationInformation;
    std::string PhysicalDeviceObjectName;
    std::string Security;
    std::string Service;
    uint32_t UINumber = 0;
    std::string DevicePowerData;
};

using TUSBDevises = std::vector<TUSBDevise>;

// The raw values read for one modem tty: sysfs attributes of its USB device
// and interface, plus the few udev properties that exist only where udevd runs.
// Absent values are empty.
struct UsbModemAttributes {
    std::string ttyName;            // "ttyACM0"
    std::string devNode;            // "/dev/ttyACM0"
    std::string usbSysname;         // "1-2"
    std::string usbSyspath;         // "/sys/devices/.../usb1/1-2"
    std::string idVendor;           // "22b8"
    std::string idProduct;          // "4902"
    std::string bcdDevice;          // "0001"
    std::string deviceClass;        // bDeviceClass
    std::string deviceSubClass;     // bDeviceSubClass
    std::string deviceProtocol;     // bDeviceProtocol
    std::string interfaceClass;     // bInterfaceClass
    std::string interfaceSubClass;  // bInterfaceSubClass
    std::string interfaceDriver;    // "cdc_acm"
    std::string manufacturer;
    std::string product;
    std::string modelFromDatabase;  // ID_MODEL_FROM_DATABASE
    std::string busnum;
    std::string devnum;
    std::string devpath;            // "2" or "1.4"
    std::string removable;          // "removable", "fixed", "unknown"
};

// The whole mapping from sysfs values to the record, kept free of I/O.
TUSBDevise MapUsbModem(const UsbModemAttributes& attrs);

// Key that stays the same while the device stays plugged in: the kernel gives
// a re-plugged device a new devnum even in the same port.
uint32_t DevInstKey(const std::string& usbSysname, const std::string& devnum);

// Substring match after folding a-z to A-Z only; an empty filter passes all.
bool MatchesNameFilter(const std::string& description, const std::string& filter);

// Present modem interfaces of the class whose DeviceDesc passes the filter, in
// the system's enumeration order; empty when the query fails or the class is
// not the USB device class.
TUSBDevises GetUSBDevises(const std::string& classGuid, const std::string& filter);

// Tells of tty devices arriving and leaving.
class UsbDeviseMonitor {
public:
    UsbDeviseMonitor(udev* context, udev_monitor* monitor);
    ~UsbDeviseMonitor();
    UsbDeviseMonitor(const UsbDeviseMonitor&) = delete;
    UsbDeviseMonitor& operator=(const UsbDeviseMonitor&) = delete;

    int fd() const;
    // The actions ("add", "remove", ...) of every event waiting now.
    std::vector<std::string> takeActions();

private:
    udev* m_udev;
    udev_monitor* m_monitor;
};

// A monitor for the class, or null when the system refused one.
std::unique_ptr<UsbDeviseMonitor> RegisterUSBDeviseNotification(const std::string& classGuid);

} // namespace qb
