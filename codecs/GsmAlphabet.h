#pragma once
// The GSM 7-bit default alphabet and its extension table (3GPP TS 23.038), in
// which most SMS texts and alphanumeric senders travel: septets packed into
// octets, low bits first.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qb::gsm {

// `count` septets packed into `octets`, the first starting `skipBits` bits in
// (the fill bits after a user-data header). Septets the octets do not reach
// are left out.
std::vector<std::uint8_t> unpackSeptets(std::span<const std::uint8_t> octets, std::size_t count,
                                        std::size_t skipBits = 0);

// Septets as text. 0x1B escapes into the extension table (€, [, ], {, }, ~, ^,
// \, |, form feed); an escaped code the table lacks reads as its character of
// the default alphabet, as TS 23.038 asks, and an escape at the very end is
// dropped.
QString decodeSeptets(std::span<const std::uint8_t> septets);

} // namespace qb::gsm
