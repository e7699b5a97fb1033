#include "search/SearchFolding.h"

#include "core/Cp1251.h"

#include <QChar>
#include <array>
#include <memory>

namespace qb {
namespace {

constexpr char16_t SmallYo = 0x0451;
constexpr char16_t SmallIe = 0x0435;

// Folded forms of every UTF-16 unit, taken once from Qt's simple case folding
// (one character to one character, unlike lower-casing) with "ё" as "е".
const std::array<char16_t, 0x10000>& foldTable() {
    static const auto table = [] {
        auto folds = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            char32_t folded = QChar::isSurrogate(c) ? c : QChar::toCaseFolded(c);
            if (folded > 0xFFFF)
                folded = c;
            (*folds)[c] = folded == SmallYo ? SmallIe : char16_t(folded);
        }
        return folds;
    }();
    return *table;
}

const std::array<std::uint8_t, 0x10000>& compactTable() {
    static const auto table = [] {
        auto bytes = std::make_unique<std::array<std::uint8_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const auto byte = cp1251::byteFor(char16_t(c));
            (*bytes)[c] = byte ? *byte : 0;
        }
        return bytes;
    }();
    return *table;
}

} // namespace

char16_t foldUnit(char16_t unit) {
    return foldTable()[unit];
}

std::uint8_t compactByte(char16_t folded) {
    return compactTable()[folded];
}

FoldedText foldForSearch(QStringView text) {
    FoldedText out;
    out.text.reserve(text.size());
    bool moved = false; // a character was dropped or grew: positions need the map
    std::vector<qsizetype> origins;
    origins.reserve(std::size_t(text.size()) + 1);
    const char16_t* units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = units[i];
        if (!out.text.isEmpty() && foldsAway(unit, out.text.back().unicode())) {
            moved = true;
            continue;
        }
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(units[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, units[i + 1]));
            const QString written = QString::fromUcs4(&folded, 1);
            for (const QChar c : written) {
                out.text += c;
                origins.push_back(i);
            }
            moved = moved || written.size() != 2;
            if (written.size() == 2)
                origins.back() = i + 1;
            ++i;
            continue;
        }
        out.text += QChar(foldUnit(unit));
        origins.push_back(i);
    }
    if (moved) {
        origins.push_back(text.size());
        out.origins = std::move(origins);
    }
    return out;
}

} // namespace qb
