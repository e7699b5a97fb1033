#pragma once
// Serial ports a phone may be reached on besides the USB phones found by
// themselves: a USB modem stick holding a SIM card (ttyUSB*), a Bluetooth
// serial port (rfcomm*), the machine's own serial ports, or any tty the user
// names. The user chooses one; these say which to offer and what sits there.
#include "phonelink/UsbModems.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace qb {

// Whether a device name under /dev is a serial port worth offering: ttyACM,
// ttyUSB, rfcomm, ttyS or ttyAMA followed by a number.
bool isSerialPortName(std::string_view name);

// The order ports are offered in: phones first (ttyACM), then modem sticks,
// Bluetooth and the machine's own ports, each kind by its number
// ("ttyUSB2" before "ttyUSB10"). Names of no known kind come last, by name.
bool servesEarlier(std::string_view first, std::string_view second);

// The serial ports under `devDir`, as full paths in the offered order. A
// ttyS or ttyAMA port that `sysTtyDir` (/sys/class/tty) shows with no
// hardware behind it (type 0, as the kernel keeps 32 of them) is left out.
std::vector<std::string> serialPortsUnder(const std::string& devDir, const std::string& sysTtyDir);
// The same for the system's own /dev and /sys/class/tty.
std::vector<std::string> serialPortsFound();

// The phone at a port chosen by hand. The path is looked at every time it is
// asked; udev is asked only when a device node other than the last one sits
// there (a re-plugged stick, a Bluetooth port bound again), so the port can
// be followed every half second at the cost of one stat().
class ChosenPort {
  public:
    using Describe = std::function<UsbModem(const std::string& path)>;
    explicit ChosenPort(std::string path, Describe describe = &modemAtPath);

    const std::string& path() const { return m_path; }
    // The phone there, or none while no character device is at the path.
    std::vector<UsbModem> phones();

  private:
    struct Node {
        dev_t device;
        ino_t inode;
        bool operator==(const Node&) const = default;
    };

    std::string m_path;
    Describe m_describe;
    std::optional<Node> m_node; // the node m_modem describes
    UsbModem m_modem;
};

} // namespace qb
