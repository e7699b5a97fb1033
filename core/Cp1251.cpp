#include "core/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <unordered_map>

namespace qb::cp1251 {
namespace {

// Built once from Qt's own codec: byte value for every code the code page maps.
const std::unordered_map<char16_t, unsigned char>& reverseTable()
{
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

} // namespace

QString toUnicode(std::string_view bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string fromUnicode(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const auto b = byteFor(c.unicode());
        out += b ? static_cast<char>(*b) : '?';
    }
    return out;
}

std::optional<unsigned char> byteFor(char16_t code)
{
    if (code < 0x80)
        return static_cast<unsigned char>(code);
    const auto& table = reverseTable();
    const auto it = table.find(code);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

} // namespace qb::cp1251
