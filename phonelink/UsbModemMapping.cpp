// The pure half of the modem discovery: sysfs values to UsbModem, and the key.
#include "phonelink/UsbModems.h"

#include <charconv>
#include <cstdio>

namespace qb {
namespace {

constexpr char MotorolaVendor[] = "22b8";

uint32_t toNumber(const std::string& text, int base = 10) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    if (std::from_chars(text.data(), end, value, base).ec != std::errc())
        return 0;
    return value;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

std::string lastPortNumber(const std::string& devpath) {
    const auto dot = devpath.rfind('.');
    return dot == std::string::npos ? devpath : devpath.substr(dot + 1);
}

std::string productName(const UsbModemAttributes& a) {
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

uint32_t deviceIdKey(const std::string& usbSysname, const std::string& devnum) {
    // FNV-1a: small, stable across runs and builds.
    uint32_t hash = 2166136261u;
    for (unsigned char c : usbSysname + "#" + devnum) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

PhoneDialogue dialogueForVendor(std::string_view vendorId) {
    return lowerAscii(std::string(vendorId)) == MotorolaVendor ? PhoneDialogue::Motorola
                                                               : PhoneDialogue::Standard;
}

bool isPhoneModem(const UsbModemAttributes& a) {
    return toNumber(a.interfaceClass, 16) == 2 && toNumber(a.interfaceSubClass, 16) == 2;
}

UsbModem mapUsbModem(const UsbModemAttributes& a) {
    UsbModem modem;
    modem.devNode = a.devNode;
    modem.productName = productName(a);
    modem.deviceId = deviceIdKey(a.usbSysname, a.devnum);
    modem.vendorId = lowerAscii(a.idVendor);
    modem.productId = lowerAscii(a.idProduct);
    modem.sysPath = a.ttySyspath;
    modem.dialogue = dialogueForVendor(a.idVendor);
    return modem;
}

} // namespace qb
