// The pure half of USBCtrls: sysfs values to TUSBDevise, the key, the filter.
#include "phonelink/USBCtrls.h"

#include <charconv>
#include <cstdio>

namespace qb {
namespace {

// Windows' class of modems, which the vendor driver's INF installs the phone under.
constexpr char ModemClassGuid[] = "{4D36E96D-E325-11CE-BFC1-08002BE10318}";
constexpr char MotorolaVendor[] = "22b8";
constexpr uint32_t CmDevcapRemovable = 0x4;

uint32_t toNumber(const std::string& text, int base = 10)
{
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    if (std::from_chars(text.data(), end, value, base).ec != std::errc())
        return 0;
    return value;
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

std::string lastPortNumber(const std::string& devpath)
{
    const auto dot = devpath.rfind('.');
    return dot == std::string::npos ? devpath : devpath.substr(dot + 1);
}

std::string deviceDescription(const UsbModemAttributes& a)
{
    const bool acm = toNumber(a.interfaceClass, 16) == 2 && toNumber(a.interfaceSubClass, 16) == 2;
    // Never the product string: a phone could name itself with the filter text.
    if (acm && lowerAscii(a.idVendor) == MotorolaVendor)
        return ModemDeviceName;
    return "USB Modem (" + lowerAscii(a.idVendor) + ":" + lowerAscii(a.idProduct) + ")";
}

std::string locationInformation(const UsbModemAttributes& a)
{
    if (!a.product.empty())
        return a.product;
    if (!a.modelFromDatabase.empty())
        return a.modelFromDatabase;
    char text[40];
    std::snprintf(text, sizeof text, "Port_#%04u.Hub_#%04u", toNumber(lastPortNumber(a.devpath)),
                  toNumber(a.busnum));
    return text;
}

} // namespace

uint32_t DevInstKey(const std::string& usbSysname, const std::string& devnum)
{
    // FNV-1a: small, stable across runs and builds.
    uint32_t hash = 2166136261u;
    for (unsigned char c : usbSysname + "#" + devnum) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

bool MatchesNameFilter(const std::string& description, const std::string& filter)
{
    if (filter.empty())
        return true;
    auto upper = [](std::string text) {
        for (char& c : text)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        return text;
    };
    return upper(description).find(upper(filter)) != std::string::npos;
}

TUSBDevise MapUsbModem(const UsbModemAttributes& a)
{
    TUSBDevise d;
    d.DevInst = DevInstKey(a.usbSysname, a.devnum);
    d.DevicePath = a.devNode;
    d.Capabilities = a.removable == "removable" ? CmDevcapRemovable : 0;
    d.Class = "Modem";
    d.ClassGUID = ModemClassGuid;
    d.CompatibleIDs = "USB\\Class_" + a.deviceClass + "&SubClass_" + a.deviceSubClass + "&Prot_" +
                      a.deviceProtocol;
    d.DeviceDesc = deviceDescription(a);
    if (!a.interfaceDriver.empty())
        d.Driver = "/sys/bus/usb/drivers/" + a.interfaceDriver;
    d.FriendlyName = d.DeviceDesc + " (" + a.ttyName + ")";
    d.HardwareID = "USB\\Vid_" + a.idVendor + "&Pid_" + a.idProduct + "&Rev_" + a.bcdDevice;
    d.Mfg = a.manufacturer;
    d.Address = lastPortNumber(a.devpath);
    d.BusNumber = toNumber(a.busnum);
    d.EnumeratorName = "USB";
    d.LocationInformation = locationInformation(a);
    d.PhysicalDeviceObjectName = a.usbSyspath;
    d.Service = a.interfaceDriver;
    return d;
}

} // namespace qb
