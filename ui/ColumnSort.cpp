#include "ui/ColumnSort.h"

#include "core/Cp1251.h"
#include "core/Substring.h"
#include "ui/MessageListModel.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <numeric>

namespace qb::ui {
namespace {

// Upper case within the code page: a letter whose capital has no byte stays.
const std::array<unsigned char, 256>& upperBytes() {
    static const auto table = [] {
        std::array<unsigned char, 256> upper{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString one = cp1251::toUnicode(std::string_view(&byte, 1));
            const auto capital = cp1251::byteFor(one.at(0).toUpper().unicode());
            upper[static_cast<std::size_t>(b)] = capital ? *capital : static_cast<unsigned char>(b);
        }
        return upper;
    }();
    return table;
}

// Latin and Cyrillic cover nearly every character of a message; a table for
// them keeps the keys of 100 000 rows quick to build.
constexpr char16_t TableEnd = 0x0460;

const std::array<unsigned char, TableEnd>& foldedBytes() {
    static const auto table = [] {
        std::array<unsigned char, TableEnd> folded{};
        for (char16_t code = 0; code < TableEnd; ++code) {
            const auto byte = cp1251::byteFor(code);
            folded[code] = byte ? upperBytes()[*byte] : static_cast<unsigned char>('?');
        }
        return folded;
    }();
    return table;
}

unsigned char foldedByte(char16_t code) {
    if (code < TableEnd)
        return foldedBytes()[code];
    const auto byte = cp1251::byteFor(code);
    return byte ? upperBytes()[*byte] : static_cast<unsigned char>('?');
}

template <typename Key>
std::vector<int> stableOrder(const std::vector<Key>& keys, SortDirection direction) {
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    const auto at = [&](int row) -> const Key& { return keys[static_cast<std::size_t>(row)]; };
    if (direction == SortDirection::Ascending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return at(a) < at(b); });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return at(b) < at(a); });
    return order;
}

SortOrder byNumber(const std::vector<MessageRow>& rows, int column, SortDirection direction) {
    std::vector<int> keys;
    keys.reserve(rows.size());
    for (const MessageRow& row : rows) {
        if (column == MessageListModel::SizeColumn) {
            keys.push_back(row.size);
            continue;
        }
        const QByteArray cell = row.index.toLatin1();
        const auto number = parseBlankLedNumber(std::string_view(cell.constData(), cell.size()));
        if (!number)
            return {{}, Failure::notInteger(row.index)};
        keys.push_back(*number);
    }
    return {stableOrder(keys, direction), std::nullopt};
}

} // namespace

std::string foldedKey(QStringView text) {
    std::string key(static_cast<std::size_t>(text.size()), '\0');
    std::transform(text.begin(), text.end(), key.begin(),
                   [](QChar c) { return static_cast<char>(foldedByte(c.unicode())); });
    return key;
}

std::string dateKey(QStringView cell) {
    const std::string bytes = foldedKey(cell);
    const std::string slash = substring(bytes, 6, 1);
    return substring(bytes, 7, 4) + slash + substring(bytes, 4, 2) + slash + substring(bytes, 1, 2);
}

SortOrder sortOrder(const std::vector<MessageRow>& rows, int column, SortDirection direction) {
    if (column == MessageListModel::SizeColumn || column == MessageListModel::IndexColumn)
        return byNumber(rows, column, direction);
    // std::string compares as unsigned bytes, which is the code page's order.
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const MessageRow& row : rows) {
        switch (column) {
        case MessageListModel::FromColumn:
            keys.push_back(foldedKey(row.from));
            break;
        case MessageListModel::DateColumn:
            keys.push_back(dateKey(row.date));
            break;
        default:
            keys.push_back(foldedKey(row.text));
            break;
        }
    }
    return {stableOrder(keys, direction), std::nullopt};
}

} // namespace qb::ui
