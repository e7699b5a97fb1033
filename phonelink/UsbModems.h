#pragma once
// Finding the phone's USB modem interfaces. A phone in modem mode is a USB
// device whose CDC-ACM interface (class 02, subclass 02) the kernel's cdc_acm
// driver serves as a tty (/dev/ttyACMn): Motorola phones (vendor 22b8) and
// every other maker's alike.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct udev;
struct udev_monitor;

namespace qb {

// The AT dialogue a phone speaks: Motorola's own listing, or the standard
// commands of 3GPP TS 27.005 and 27.007 in PDU mode.
enum class PhoneDialogue { Motorola, Standard };

// Motorola's for its USB vendor 22b8 (either letter case), the standard one for
// every other.
PhoneDialogue dialogueForVendor(std::string_view vendorId);

// One phone modem interface, as the program uses it.
struct UsbModem {
    std::string devNode;     // "/dev/ttyACM0"
    std::string productName; // the USB product string, shown as the phone node's caption
    uint32_t deviceId = 0;   // the same while plugged in, another after a re-plug
    std::string vendorId;    // "22b8"
    std::string productId;   // "4902"
    std::string sysPath;     // the tty's sysfs path
    PhoneDialogue dialogue = PhoneDialogue::Motorola; // by the vendor
};

// The raw values read for one tty: sysfs attributes of its USB device and
// interface, plus the one udev property that exists only where udevd runs.
// Absent values are empty.
struct UsbModemAttributes {
    std::string devNode;           // "/dev/ttyACM0"
    std::string ttySyspath;        // "/sys/devices/.../tty/ttyACM0"
    std::string usbSysname;        // "1-2"
    std::string idVendor;          // "22b8"
    std::string idProduct;         // "4902"
    std::string interfaceClass;    // bInterfaceClass
    std::string interfaceSubClass; // bInterfaceSubClass
    std::string product;
    std::string modelFromDatabase; // ID_MODEL_FROM_DATABASE
    std::string busnum;
    std::string devnum;
    std::string devpath; // "2" or "1.4"
};

// Whether the tty is a phone: a CDC-ACM interface of a USB device, of any vendor.
bool isPhoneModem(const UsbModemAttributes& attrs);

// The record for one tty, kept free of I/O.
UsbModem mapUsbModem(const UsbModemAttributes& attrs);

// Key that stays the same while the device stays plugged in: the kernel gives
// a re-plugged device a new devnum even in the same port.
uint32_t deviceIdKey(const std::string& usbSysname, const std::string& devnum);

// The phone modem interfaces present now, in the system's enumeration order;
// empty when udev cannot be asked.
std::vector<UsbModem> findUsbModems();

// The record of the port at `path`, a device node or a link to one
// (/dev/serial/by-id/...), chosen by the user rather than found: the USB
// modem interface udev knows at that node, whatever its vendor, or else a
// bare tty named by the path, with the path as its caption.
UsbModem modemAtPath(const std::string& path);

// One udev event of a tty: its action and the device it names.
struct TtyEvent {
    std::string action;  // "add", "remove", ...
    std::string devNode; // "/dev/ttyACM0"; empty when the event carries none
    std::string sysPath; // the tty's sysfs path
};

// Whether the event is about the modem's tty, by device node or sysfs path.
bool eventNamesModem(const TtyEvent& event, const UsbModem& modem);

// Tells of tty devices arriving and leaving, on a descriptor the event loop watches.
class UdevMonitor {
  public:
    // A monitor of tty events, or null when the system refused one.
    static std::unique_ptr<UdevMonitor> create();

    UdevMonitor(udev* context, udev_monitor* monitor);
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    int fd() const;
    // Every event waiting now.
    std::vector<TtyEvent> takeEvents();

  private:
    udev* m_udev;
    udev_monitor* m_monitor;
};

} // namespace qb
