#pragma once
// The fields a PDU is made of, read one after the other from its octets. Used
// by the PDU decoder only.
#include "codecs/SmsPdu.h"

#include <cstdint>
#include <span>

namespace qb::pdu {

// Reads a PDU front to back. A read past the end fails and leaves the
// failure's field and octet for the error.
class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> octets) : m_octets(octets) {}

    bool byte(PduField field, std::uint8_t& out);
    bool take(PduField field, std::size_t count, std::span<const std::uint8_t>& out);
    std::span<const std::uint8_t> rest() const { return m_octets.subspan(m_at); }
    std::size_t offset() const { return m_at; }
    // Where reading stopped, as the error to report.
    PduError error() const { return m_error; }
    void fail(PduProblem problem, PduField field, std::size_t octet) {
        m_error = {problem, field, octet};
    }

  private:
    std::span<const std::uint8_t> m_octets;
    std::size_t m_at = 0;
    PduError m_error;
};

// The service-centre address in front of the TPDU: its length in octets, the
// type of address, the digits. Empty when the length is 0.
bool readServiceCentre(Cursor& cursor, QString& number);

// TP-OA, TP-DA or TP-RA: its length in digits, the type of address, the digits
// (or, for an alphanumeric address, the 7-bit packed name).
bool readAddress(Cursor& cursor, SmsAddress& address);

// A 7-octet time stamp; none when its digits do not make a date and time.
std::optional<SmsTime> timeStamp(std::span<const std::uint8_t> octets);

// How TP-DCS says the user data is coded (TS 23.038, chapter 4).
TextCoding codingOf(std::uint8_t dcs);

// TP-UDL and TP-UD: the text (or data) and the long-message part the header names.
bool readUserData(Cursor& cursor, bool hasHeader, TextCoding coding, DecodedPdu& pdu);

} // namespace qb::pdu
