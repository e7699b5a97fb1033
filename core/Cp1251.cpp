#include "core/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <unordered_map>

namespace qb::cp1251 {
namespace {

// Built once from Qt's own codec: byte value for every code the code page maps.
const std::unordered_map<char16_t, unsigned char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char16_t, unsigned char> map;
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            if (s.size() != 1)
                continue;
            const char16_t code = s.at(0).unicode();
            if (code == 0xFFFD || (b >= 0x80 && code >= 0x80 && code < 0xA0))
                continue; // a hole of the code page
            map.emplace(code, static_cast<unsigned char>(b));
        }
        return map;
    }();
    return table;
}

// The code page maps one byte to one character, so texts are converted
// through a table taken once from Qt's converter: a list of 100 000 rows
// converts every cell, and a converter per call would dominate its fill.
const std::array<char16_t, 256>& forwardTable() {
    static const auto table = [] {
        std::array<char16_t, 256> characters{};
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            characters[static_cast<std::size_t>(b)] =
                one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
        }
        return characters;
    }();
    return table;
}

} // namespace

QString toUnicode(std::string_view bytes) {
    const auto& table = forwardTable();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    return text;
}

std::string fromUnicode(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const auto b = byteFor(c.unicode());
        out += b ? static_cast<char>(*b) : '?';
    }
    return out;
}

std::optional<unsigned char> byteFor(char16_t code) {
    if (code < 0x80)
        return static_cast<unsigned char>(code);
    const auto& table = reverseTable();
    const auto it = table.find(code);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

} // namespace qb::cp1251
