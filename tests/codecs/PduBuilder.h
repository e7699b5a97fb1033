#pragma once
// Builds PDUs field by field for the decoder's tests, so that each case states
// only what it is about. Real phones' PDUs are in data/pdus.
#include <cstdint>
#include <string>
#include <vector>

namespace qb::test {

inline std::string hexOf(const std::vector<std::uint8_t>& octets) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t o : octets) {
        hex += digits[o >> 4];
        hex += digits[o & 0xF];
    }
    return hex;
}

// Septets packed low bits first, starting `fillBits` into the first octet.
inline std::vector<std::uint8_t> packSeptets(const std::vector<std::uint8_t>& septets,
                                             int fillBits = 0) {
    std::vector<std::uint8_t> out;
    unsigned bits = 0;
    int count = fillBits;
    for (const std::uint8_t s : septets) {
        bits |= unsigned(s & 0x7F) << count;
        count += 7;
        while (count >= 8) {
            out.push_back(std::uint8_t(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(std::uint8_t(bits & 0xFF));
    return out;
}

inline std::vector<std::uint8_t> septetsOf(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

struct PduBuilder {
    std::vector<std::uint8_t> serviceCentre{0x07, 0x91, 0x97, 0x61, 0x98, 0x99, 0x11, 0xF0};
    std::uint8_t firstOctet = 0x04; // SMS-DELIVER
    std::vector<std::uint8_t> address{0x0B, 0x91, 0x97, 0x61, 0x21, 0x43, 0x65, 0xF7};
    std::uint8_t dcs = 0x00;
    std::vector<std::uint8_t> timeStamp{0x80, 0x40, 0x20, 0x81, 0x22, 0x73, 0x21};
    std::vector<std::uint8_t> validity; // SUBMIT only
    std::vector<std::uint8_t> header;   // user-data header without its length octet
    std::uint8_t userDataLength = 0;
    std::vector<std::uint8_t> userData; // after the header
    std::vector<std::uint8_t> trailing; // padding after the PDU

    // GSM 7-bit text, with the fill bits a header asks for.
    PduBuilder& text(const std::vector<std::uint8_t>& septets) {
        const std::size_t headerOctets = header.empty() ? 0 : header.size() + 1;
        const std::size_t headerSeptets = (headerOctets * 8 + 6) / 7;
        const int fill = int(headerSeptets * 7 - headerOctets * 8);
        userDataLength = std::uint8_t(headerSeptets + septets.size());
        userData = packSeptets(septets, fill);
        return *this;
    }
    PduBuilder& octets(const std::vector<std::uint8_t>& bytes) {
        const std::size_t headerOctets = header.empty() ? 0 : header.size() + 1;
        userDataLength = std::uint8_t(headerOctets + bytes.size());
        userData = bytes;
        return *this;
    }

    std::vector<std::uint8_t> tpdu() const {
        std::vector<std::uint8_t> out{firstOctet};
        const bool submit = (firstOctet & 0x03) == 1;
        if (!header.empty())
            out[0] |= 0x40;
        if (submit)
            out.push_back(0x00); // message reference
        out.insert(out.end(), address.begin(), address.end());
        out.push_back(0x00); // protocol identifier
        out.push_back(dcs);
        const auto& after = submit ? validity : timeStamp;
        out.insert(out.end(), after.begin(), after.end());
        out.push_back(userDataLength);
        if (!header.empty()) {
            out.push_back(std::uint8_t(header.size()));
            out.insert(out.end(), header.begin(), header.end());
        }
        out.insert(out.end(), userData.begin(), userData.end());
        return out;
    }
    std::string hex() const {
        std::vector<std::uint8_t> all = serviceCentre;
        const auto t = tpdu();
        all.insert(all.end(), t.begin(), t.end());
        all.insert(all.end(), trailing.begin(), trailing.end());
        return hexOf(all);
    }
    int tpduLength() const { return int(tpdu().size()); }
};

} // namespace qb::test
