#include "models/ColumnSort.h"

#include "archive/RecordLines.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace qb {
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

// Keys compare as unsigned bytes, the code page's order. Each row's first
// eight bytes travel with it as one number, so most comparisons never leave
// the array being sorted for the keys scattered over the buffer.
std::vector<int> stableTextOrder(const std::vector<std::string_view>& keys,
                                 SortDirection direction) {
    struct Entry {
        std::uint64_t prefix;
        int row;
    };
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        std::uint64_t prefix = 0;
        const std::string_view key = keys[row];
        for (std::size_t i = 0; i < 8; ++i)
            prefix = prefix << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
        entries.push_back({prefix, static_cast<int>(row)});
    }
    const auto less = [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        // Equal prefixes: a key that ended early is padded with zero bytes, so
        // the whole keys decide.
        return keys[static_cast<std::size_t>(a.row)] < keys[static_cast<std::size_t>(b.row)];
    };
    if (direction == SortDirection::Ascending)
        std::stable_sort(entries.begin(), entries.end(), less);
    else
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const Entry& a, const Entry& b) { return less(b, a); });
    std::vector<int> order;
    order.reserve(entries.size());
    for (const Entry& entry : entries)
        order.push_back(entry.row);
    return order;
}

void appendFolded(QStringView text, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(text.size()));
    char* next = out.data() + at;
    for (const QChar c : text)
        *next++ = static_cast<char>(foldedByte(c.unicode()));
}

// Characters start .. start + count - 1 (from 1) of `cell`, cut at its end: the
// rule of charactersFrom for starts of 1 and more, without a text per piece.
void appendPiece(QStringView cell, qsizetype start, qsizetype count, std::string& out) {
    if (start > cell.size())
        return;
    appendFolded(cell.mid(start - 1, std::min(count, cell.size() - start + 1)), out);
}

void appendDateKey(QStringView cell, std::string& out) {
    appendPiece(cell, 7, 4, out);
    appendPiece(cell, 6, 1, out);
    appendPiece(cell, 4, 2, out);
    appendPiece(cell, 6, 1, out);
    appendPiece(cell, 1, 2, out);
}

// The index cells are short; a cell too long for a 32-bit number fails anyway.
std::optional<int> indexNumber(QStringView cell) {
    char bytes[24];
    if (cell.size() >= qsizetype(sizeof bytes))
        return std::nullopt;
    std::size_t length = 0;
    for (const QChar c : cell)
        bytes[length++] = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    return parseBlankLedNumber(std::string_view(bytes, length));
}

// A standard phone's index cell ("SM5,SM3", " ME12") sorts by its first
// part's place: storage by name, then index, after every plain index.
std::optional<std::pair<std::int64_t, std::int64_t>> placeKey(QStringView cell) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(cell.size()));
    for (const QChar c : cell)
        bytes += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    const std::vector<StorageLocation> places = record::phoneLocations(bytes);
    if (places.empty())
        return std::nullopt;
    std::int64_t storage = 0;
    for (const char c : places.front().storage) // at most four capitals
        storage = storage * 32 + (c - 'A' + 1);
    return std::pair<std::int64_t, std::int64_t>{storage + 1, places.front().index};
}

SortOrder byNumber(const std::vector<MessageRow>& rows, int column, SortDirection direction) {
    std::vector<std::pair<std::int64_t, std::int64_t>> keys;
    keys.reserve(rows.size());
    for (const MessageRow& row : rows) {
        if (column == MessageListModel::SizeColumn) {
            keys.emplace_back(0, row.size);
            continue;
        }
        if (const auto number = indexNumber(row.index)) {
            keys.emplace_back(0, *number);
        } else if (const auto place = placeKey(row.index)) {
            keys.push_back(*place);
        } else {
            return {{}, Failure::notInteger(row.index)};
        }
    }
    return {stableOrder(keys, direction), std::nullopt};
}

} // namespace

std::string foldedKey(QStringView text) {
    std::string key;
    key.reserve(static_cast<std::size_t>(text.size()));
    appendFolded(text, key);
    return key;
}

std::string dateKey(QStringView cell) {
    std::string key;
    appendDateKey(cell, key);
    return key;
}

SortOrder sortOrder(const std::vector<MessageRow>& rows, int column, SortDirection direction) {
    if (column == MessageListModel::SizeColumn || column == MessageListModel::IndexColumn)
        return byNumber(rows, column, direction);
    // All keys in one buffer: the sort then reads them in few cache lines
    // instead of one allocation per row.
    std::string buffer;
    std::vector<std::size_t> ends;
    ends.reserve(rows.size());
    for (const MessageRow& row : rows) {
        switch (column) {
        case MessageListModel::FromColumn:
            appendFolded(row.from, buffer);
            break;
        case MessageListModel::DateColumn:
            appendDateKey(row.date, buffer);
            break;
        default:
            appendFolded(row.text, buffer);
            break;
        }
        ends.push_back(buffer.size());
    }
    std::vector<std::string_view> keys;
    keys.reserve(rows.size());
    std::size_t start = 0;
    for (const std::size_t end : ends) {
        keys.emplace_back(buffer.data() + start, end - start);
        start = end;
    }
    return {stableTextOrder(keys, direction), std::nullopt};
}

} // namespace qb
