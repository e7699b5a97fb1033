#include "models/ColourText.h"

#include "core/Failure.h"

#include <array>

namespace qb {
namespace {

constexpr ColourValue system(int index) {
    return 0xFF000000u | static_cast<ColourValue>(index);
}

constexpr std::array<NamedColour, 52> Names{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", system(0)},
    {"clBackground", system(1)},
    {"clActiveCaption", system(2)},
    {"clInactiveCaption", system(3)},
    {"clMenu", system(4)},
    {"clWindow", system(5)},
    {"clWindowFrame", system(6)},
    {"clMenuText", system(7)},
    {"clWindowText", system(8)},
    {"clCaptionText", system(9)},
    {"clActiveBorder", system(10)},
    {"clInactiveBorder", system(11)},
    {"clAppWorkSpace", system(12)},
    {"clHighlight", system(13)},
    {"clHighlightText", system(14)},
    {"clBtnFace", system(15)},
    {"clBtnShadow", system(16)},
    {"clGrayText", system(17)},
    {"clBtnText", system(18)},
    {"clInactiveCaptionText", system(19)},
    {"clBtnHighlight", system(20)},
    {"cl3DDkShadow", system(21)},
    {"cl3DLight", system(22)},
    {"clInfoText", system(23)},
    {"clInfoBk", system(24)},
    {"clHotLight", system(26)},
    {"clGradientActiveCaption", system(27)},
    {"clGradientInactiveCaption", system(28)},
    {"clMenuHighlight", system(29)},
    {"clMenuBar", system(30)},
    {"clNone", Colour::None},
    {"clDefault", Colour::Default},
}};

struct PaletteRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop's own colours stand in for the Windows system colours: each
// index takes the palette role that plays its part on a Linux desktop.
std::optional<PaletteRole> paletteRole(int index) {
    using P = QPalette;
    static const std::array<std::optional<PaletteRole>, 31> roles{{
        PaletteRole{P::Active, P::Button},
        PaletteRole{P::Active, P::Dark},
        PaletteRole{P::Active, P::Highlight},
        PaletteRole{P::Inactive, P::Mid},
        PaletteRole{P::Active, P::Window},
        PaletteRole{P::Active, P::Base},
        PaletteRole{P::Active, P::Shadow},
        PaletteRole{P::Active, P::WindowText},
        PaletteRole{P::Active, P::Text},
        PaletteRole{P::Active, P::HighlightedText},
        PaletteRole{P::Active, P::Window},
        PaletteRole{P::Inactive, P::Window},
        PaletteRole{P::Active, P::Mid},
        PaletteRole{P::Active, P::Highlight},
        PaletteRole{P::Active, P::HighlightedText},
        PaletteRole{P::Active, P::Button},
        PaletteRole{P::Active, P::Dark},
        PaletteRole{P::Disabled, P::Text},
        PaletteRole{P::Active, P::ButtonText},
        PaletteRole{P::Disabled, P::WindowText},
        PaletteRole{P::Active, P::Light},
        PaletteRole{P::Active, P::Shadow},
        PaletteRole{P::Active, P::Midlight},
        PaletteRole{P::Active, P::ToolTipText},
        PaletteRole{P::Active, P::ToolTipBase},
        std::nullopt,
        PaletteRole{P::Active, P::Link},
        PaletteRole{P::Active, P::Highlight},
        PaletteRole{P::Inactive, P::Highlight},
        PaletteRole{P::Active, P::Highlight},
        PaletteRole{P::Active, P::Window},
    }};
    if (index < 0 || index >= static_cast<int>(roles.size()))
        return std::nullopt;
    return roles[static_cast<std::size_t>(index)];
}

std::optional<ColourValue> parseHex(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool hex = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
        if (!hex)
            return std::nullopt;
    }
    return static_cast<ColourValue>(digits.toUInt(nullptr, 16));
}

} // namespace

std::span<const NamedColour> colourNames() {
    return Names;
}

std::span<const NamedColour> basicColourNames() {
    return std::span<const NamedColour>(Names).first(16);
}

std::span<const NamedColour> systemColourNames() {
    return std::span<const NamedColour>(Names).subspan(20, 30);
}

QString colourText(ColourValue colour) {
    for (const NamedColour& named : Names)
        if (named.value == colour)
            return QString::fromLatin1(named.name);
    return QStringLiteral("$%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<ColourValue> parseColourText(const QString& text) {
    for (const NamedColour& named : Names)
        if (text.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    const QString number = text.trimmed();
    if (number.startsWith(QLatin1Char('$')))
        return parseHex(QStringView(number).mid(1));
    const QByteArray decimal = text.toLatin1();
    if (const auto value =
            parseBlankLedNumber(std::string_view(decimal.constData(), decimal.size())))
        return static_cast<ColourValue>(*value); // system colours are negative in decimal
    return std::nullopt;
}

ColourValue colourValue(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    return static_cast<ColourValue>(qRed(rgb)) | static_cast<ColourValue>(qGreen(rgb)) << 8 |
           static_cast<ColourValue>(qBlue(rgb)) << 16;
}

bool isSystemColour(ColourValue colour) {
    return (colour & 0xFF000000u) == 0xFF000000u;
}

QColor resolveColour(ColourValue colour, const QPalette& palette, const QColor& fallback) {
    if (colour == Colour::None || colour == Colour::Default)
        return fallback;
    if (isSystemColour(colour)) {
        const auto role = paletteRole(static_cast<int>(colour & 0xFFu));
        return role && (colour & 0x00FFFF00u) == 0 ? palette.color(role->group, role->role)
                                                   : fallback;
    }
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

} // namespace qb
