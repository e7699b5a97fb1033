#pragma once
// The form a text is searched in: letters of any case alike, Cyrillic
// included, and "ё" read as "е" (also when stored as "е" with a combining
// diaeresis, as some phones send it). Folding may drop characters, so a
// folded text keeps where each of its characters came from.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace qb {

struct FoldedText {
    QString text;
    // Where each character of `text` starts in the original, then the
    // original's length; empty while every position is its own.
    std::vector<qsizetype> origins;

    qsizetype originOf(qsizetype folded) const {
        return origins.empty() ? folded : origins[std::size_t(folded)];
    }
};

FoldedText foldForSearch(QStringView text);

// The folded form of one UTF-16 unit that is not half of a surrogate pair.
char16_t foldUnit(char16_t unit);

// Whether `unit` is the combining diaeresis that makes a preceding folded
// "е" an "ё", and so folds away.
inline bool foldsAway(char16_t unit, char16_t previousFolded) {
    return unit == 0x0308 && previousFolded == 0x0435;
}

// The folded text's one-byte form, for the characters of Windows-1251 (the
// archive's own, so nearly every message has one): a byte per folded
// character, 0 for a character the code page lacks.
std::uint8_t compactByte(char16_t folded);

} // namespace qb
