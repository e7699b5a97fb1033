#include "phonelink/SerialPorts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace qb {
namespace {

// In the order they are offered.
constexpr std::array<std::string_view, 5> PortKinds = {"ttyACM", "ttyUSB", "rfcomm", "ttyS",
                                                       "ttyAMA"};

struct PortName {
    std::size_t kind = PortKinds.size(); // PortKinds.size(): no known kind
    unsigned number = 0;
};

std::optional<unsigned> wholeNumber(std::string_view digits) {
    unsigned value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

PortName portName(std::string_view name) {
    for (std::size_t kind = 0; kind < PortKinds.size(); ++kind) {
        const std::string_view prefix = PortKinds[kind];
        if (!name.starts_with(prefix))
            continue;
        if (const std::optional<unsigned> number = wholeNumber(name.substr(prefix.size())))
            return {kind, *number};
    }
    return {};
}

// The machine's own ports exist as nodes whether or not a UART is there.
bool withoutHardware(std::string_view name, const std::filesystem::path& sysTtyDir) {
    if (!name.starts_with("ttyS") && !name.starts_with("ttyAMA"))
        return false;
    std::ifstream type(sysTtyDir / std::string(name) / "type");
    std::string value;
    return type >> value && value == "0";
}

} // namespace

bool isSerialPortName(std::string_view name) {
    return portName(name).kind < PortKinds.size();
}

bool servesEarlier(std::string_view first, std::string_view second) {
    const PortName a = portName(first);
    const PortName b = portName(second);
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.number != b.number)
        return a.number < b.number;
    return first < second;
}

std::vector<std::string> serialPortsUnder(const std::string& devDir, const std::string& sysTtyDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(devDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (isSerialPortName(name) && !withoutHardware(name, sysTtyDir))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), servesEarlier);
    for (std::string& name : names)
        name = (fs::path(devDir) / name).string();
    return names;
}

std::vector<std::string> serialPortsFound() {
    return serialPortsUnder("/dev", "/sys/class/tty");
}

ChosenPort::ChosenPort(std::string path, Describe describe)
    : m_path(std::move(path)), m_describe(std::move(describe)) {}

std::vector<UsbModem> ChosenPort::phones() {
    struct stat status {};
    if (::stat(m_path.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        m_node.reset();
        return {};
    }
    const Node node{status.st_rdev, status.st_ino};
    if (m_node != node) {
        m_modem = m_describe(m_path);
        m_node = node;
    }
    return {m_modem};
}

} // namespace qb
