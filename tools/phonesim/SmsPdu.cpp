#include "tools/phonesim/SmsPdu.h"

#include "tools/phonesim/TextCodec.h"

#include <optional>

namespace qb {

namespace {

constexpr std::size_t MaxSeptets = 160;
constexpr std::size_t MaxUcs2Units = 70;
constexpr std::size_t PartSeptets = 153;  // 160 less the 7 the header takes
constexpr std::size_t PartUcs2Units = 67; // 70 less the 3 the header takes

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
    const std::u16string greek = u"ΔΦΓΛΩΠΨΣΘΞ";
    if (const auto at = greek.find(c); at != std::u16string::npos)
        return std::string(1, static_cast<char>(at == 0 ? 0x10 : 0x11 + at));
    const std::u16string escaped = u"^{}\\[~]|\u20AC";
    const char codes[] = {0x14, 0x28, 0x29, 0x2F, 0x3C, 0x3D, 0x3E, 0x40, 0x65};
    const auto pos = escaped.find(c);
    if (pos == std::u16string::npos)
        return std::nullopt;
    return std::string{'\x1B', codes[pos]};
}

std::optional<std::string> toSeptets(const std::u16string& text, std::size_t limit = MaxSeptets) {
    std::string septets;
    for (const char16_t c : text) {
        const auto s = gsmSeptets(c);
        if (!s)
            return std::nullopt;
        septets += *s;
    }
    if (septets.size() > limit)
        return std::nullopt;
    return septets;
}

// Septets packed low bits first, after `fillBits` bits left free.
std::string packSeptets(const std::string& septets, int fillBits = 0) {
    std::string out;
    unsigned bits = 0;
    int count = fillBits;
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

bool isAlphanumeric(std::string_view number) {
    for (const char c : number)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return true;
    return false;
}

char typeOf(std::string_view number) {
    return static_cast<char>(!number.empty() && number[0] == '+' ? 0x91 : 0x81);
}

// Originating, destination or recipient address: length in digits (in
// semi-octets for a name), type, digits.
std::string address(std::string_view number) {
    if (isAlphanumeric(number)) {
        const auto septets = toSeptets(utf8ToUtf16(number)).value_or("");
        const auto semiOctets = static_cast<char>((septets.size() * 7 + 3) / 4);
        return std::string{semiOctets, '\xD0'} + packSeptets(septets);
    }
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
std::string timestamp(const SimMessage& m, int laterBy = 0) {
    return swappedDigits(twoDigits(m.year % 100) + twoDigits(m.month) + twoDigits(m.day) +
                         twoDigits(m.hour) + twoDigits(m.minute) +
                         twoDigits(std::min(m.second + laterBy, 59)) + "12");
}

std::string ucs2Octets(const std::u16string& units) {
    std::string out;
    for (const char16_t unit : units)
        out += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    return out;
}

// The user-data header of a part: element 0x00 (8-bit reference) or 0x08 (16-bit).
std::string partHeader(const SimPart& p) {
    if (p.ucs2)
        return {'\x06',
                '\x08',
                '\x04',
                static_cast<char>(p.reference >> 8),
                static_cast<char>(p.reference & 0xFF),
                static_cast<char>(p.count),
                static_cast<char>(p.sequence)};
    return {'\x05',
            '\x00',
            '\x03',
            static_cast<char>(p.reference & 0xFF),
            static_cast<char>(p.count),
            static_cast<char>(p.sequence)};
}

struct UserData {
    char dcs = 0x00;
    char length = 0;
    std::string octets;
};

UserData userDataOf(const SimMessage& message) {
    const std::u16string text = utf8ToUtf16(message.text);
    UserData ud;
    if (message.part) {
        const std::string header = partHeader(*message.part);
        if (message.part->ucs2) {
            ud.dcs = 0x08;
            ud.octets = header + ucs2Octets(text);
            ud.length = static_cast<char>(ud.octets.size());
        } else {
            // The text starts at the septet boundary after the header: one fill bit.
            const std::size_t headerSeptets = (header.size() * 8 + 6) / 7;
            const auto septets = toSeptets(text, PartSeptets).value_or("");
            ud.octets = header + packSeptets(septets, int(headerSeptets * 7 - header.size() * 8));
            ud.length = static_cast<char>(headerSeptets + septets.size());
        }
    } else if (const auto septets = toSeptets(text)) {
        ud.length = static_cast<char>(septets->size());
        ud.octets = packSeptets(*septets);
    } else {
        ud.dcs = 0x08;
        std::u16string units = text.substr(0, MaxUcs2Units);
        if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF)
            units.pop_back(); // never half a character
        ud.octets = ucs2Octets(units);
        ud.length = static_cast<char>(ud.octets.size());
    }
    return ud;
}

std::string statusReport(const SimMessage& m) {
    // Reference, recipient, the centre's time stamp, the delivery five seconds
    // later, status 0: delivered.
    return std::string{'\x06', '\x2A'} + address(m.number) + timestamp(m) + timestamp(m, 5) +
           '\x00';
}

} // namespace

EncodedPdu encodePdu(const SimMessage& message, std::string_view serviceCentre) {
    std::string tpdu;
    if (message.statusReport) {
        tpdu = statusReport(message);
    } else {
        const UserData ud = userDataOf(message);
        const char header = message.part ? '\x40' : '\x00';
        const int later = message.part ? message.part->sequence - 1 : 0;
        if (isReceived(message.status))
            tpdu = static_cast<char>('\x04' | header) + address(message.number) + '\x00' + ud.dcs +
                   timestamp(message, later);
        else
            tpdu = std::string{static_cast<char>('\x01' | header), '\x00'} +
                   address(message.number) + '\x00' + ud.dcs;
        tpdu += ud.length + ud.octets;
    }
    return {hexBytes(serviceCentreAddress(serviceCentre) + tpdu), static_cast<int>(tpdu.size())};
}

std::vector<std::u16string> splitIntoParts(const std::u16string& text, std::size_t parts,
                                           bool& ucs2) {
    std::vector<std::u16string> out;
    if (parts == 0)
        return out;
    ucs2 = !toSeptets(text, std::u16string::npos);
    const std::size_t each = (text.size() + parts - 1) / parts;
    for (std::size_t i = 0; i < parts; ++i) {
        const std::u16string piece = text.substr(std::min(i * each, text.size()), each);
        const bool fits =
            ucs2 ? piece.size() <= PartUcs2Units : toSeptets(piece, PartSeptets).has_value();
        if (!fits)
            return {};
        out.push_back(piece);
    }
    return out;
}

} // namespace qb
