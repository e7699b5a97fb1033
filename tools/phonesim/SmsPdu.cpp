#include "tools/phonesim/SmsPdu.h"

#include "tools/phonesim/TextCodec.h"

#include <optional>

namespace qb {

namespace {

constexpr std::size_t MaxSeptets = 160;
constexpr std::size_t MaxUcs2Units = 70;

// Septet of a character in the GSM default alphabet, escaped ones as two.
std::optional<std::string> gsmSeptets(char16_t c) {
    if (c == '@')
        return std::string(1, '\x00');
    if (c == '$')
        return std::string(1, '\x02');
    if (c == '_')
        return std::string(1, '\x11');
    if (c == '\n' || c == '\r' || c == ' ' || c == '!' || c == '"' || c == '#' ||
        (c >= '%' && c <= '?') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return std::string(1, static_cast<char>(c));
    const std::u16string escaped = u"^{}\\[~]|\u20AC";
    const char codes[] = {0x14, 0x28, 0x29, 0x2F, 0x3C, 0x3D, 0x3E, 0x40, 0x65};
    const auto pos = escaped.find(c);
    if (pos == std::u16string::npos)
        return std::nullopt;
    return std::string{'\x1B', codes[pos]};
}

std::optional<std::string> toSeptets(const std::u16string& text) {
    std::string septets;
    for (const char16_t c : text) {
        const auto s = gsmSeptets(c);
        if (!s)
            return std::nullopt;
        septets += *s;
    }
    if (septets.size() > MaxSeptets)
        return std::nullopt;
    return septets;
}

std::string packSeptets(const std::string& septets) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char s : septets) {
        bits |= (static_cast<unsigned>(s) & 0x7F) << count;
        count += 7;
        while (count >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out += static_cast<char>(bits & 0xFF);
    return out;
}

std::string swappedDigits(std::string_view digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int low = digits[i] - '0';
        const int high = i + 1 < digits.size() ? digits[i + 1] - '0' : 0xF;
        out += static_cast<char>((high << 4) | low);
    }
    return out;
}

std::string digitsOf(std::string_view number) {
    std::string digits;
    for (const char c : number)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

char typeOf(std::string_view number) {
    return static_cast<char>(!number.empty() && number[0] == '+' ? 0x91 : 0x81);
}

// Originating or destination address: length in digits, type, digits.
std::string address(std::string_view number) {
    const std::string digits = digitsOf(number);
    return std::string{static_cast<char>(digits.size()), typeOf(number)} + swappedDigits(digits);
}

std::string serviceCentreAddress(std::string_view number) {
    const std::string body = typeOf(number) + swappedDigits(digitsOf(number));
    return static_cast<char>(body.size()) + body;
}

std::string twoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// Moscow time, +3 hours, is twelve quarters: "21" once the digits are swapped.
std::string timestamp(const SimMessage& m) {
    return swappedDigits(twoDigits(m.year % 100) + twoDigits(m.month) + twoDigits(m.day) +
                         twoDigits(m.hour) + twoDigits(m.minute) + twoDigits(m.second) + "12");
}

} // namespace

EncodedPdu encodePdu(const SimMessage& message, std::string_view serviceCentre) {
    const std::u16string text = utf8ToUtf16(message.text);
    std::string userData;
    char dcs = 0x00;
    char udl = 0;
    if (const auto septets = toSeptets(text)) {
        udl = static_cast<char>(septets->size());
        userData = packSeptets(*septets);
    } else {
        dcs = 0x08;
        std::u16string units = text.substr(0, MaxUcs2Units);
        if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF)
            units.pop_back(); // never half a character
        for (const char16_t unit : units)
            userData += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
        udl = static_cast<char>(userData.size());
    }
    std::string tpdu;
    if (isReceived(message.status))
        tpdu = '\x04' + address(message.number) + '\x00' + dcs + timestamp(message);
    else
        tpdu = std::string{'\x01', '\x00'} + address(message.number) + '\x00' + dcs;
    tpdu += udl + userData;
    return {hexBytes(serviceCentreAddress(serviceCentre) + tpdu), static_cast<int>(tpdu.size())};
}

} // namespace qb
