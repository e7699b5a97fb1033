#pragma once
// Colours as the settings store keeps them: a 32-bit value, 0x00BBGGRR for a
// plain colour, 0xFF0000nn for system colour nn, and two special values; in
// the store it is written as its name from the colour-name table, or as "$"
// and eight upper-case hex digits when it has none.
#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

namespace qb {

using ColourValue = std::uint32_t;

namespace Colour {
constexpr ColourValue Black = 0x00000000;
constexpr ColourValue Lime = 0x0000FF00;
constexpr ColourValue WindowText = 0xFF000008;
constexpr ColourValue None = 0x1FFFFFFF;
constexpr ColourValue Default = 0x20000000;
} // namespace Colour

struct NamedColour {
    const char* name;
    ColourValue value;
};

// The 52 names, in table order: 16 basic colours, 4 extra colours, 30 system
// colours, then clNone and clDefault.
std::span<const NamedColour> colourNames();
std::span<const NamedColour> basicColourNames();  // the first 16
std::span<const NamedColour> systemColourNames(); // the 30 system colours

QString colourText(ColourValue colour);
// A name of the table (in any letter case) or a number, decimal or "$" hex.
std::optional<ColourValue> parseColourText(const QString& text);

ColourValue colourValue(const QColor& colour); // a plain colour's value
bool isSystemColour(ColourValue colour);
// The colour to paint with: a system colour comes from `palette`; "none",
// "default" and system colours the palette has no role for give `fallback`.
QColor resolveColour(ColourValue colour, const QPalette& palette, const QColor& fallback);

} // namespace qb
