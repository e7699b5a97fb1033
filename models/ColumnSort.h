#pragma once
// How the message list compares its rows for each column: texts by their
// Windows-1251 upper case in byte order, dates by the day they name, sizes and
// indexes as 32-bit numbers. Sorting yields a new order of the rows, so the
// rows themselves, with their record numbers, are only moved, never rebuilt.
#include "core/Failure.h"
#include "models/MessageRows.h"

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

enum class SortDirection { Ascending, Descending };

// The Windows-1251 bytes of `text` with every letter of a case pair in upper case.
std::string foldedKey(QStringView text);
// "DD/MM/YYYY,hh:mm:ss" gives "YYYY/MM/DD": the time of day takes no part.
std::string dateKey(QStringView cell);

struct SortOrder {
    std::vector<int> rows; // the old position of each row, in the new order
    MaybeFailure failure;  // a size or index cell that is no number; rows is empty then
};

// Rows that compare equal keep their order, in both directions.
SortOrder sortOrder(const std::vector<MessageRow>& rows, int column, SortDirection direction);

} // namespace qb
