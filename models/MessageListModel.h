#pragma once
// The rows of the message list. One entry per message rather than one widget
// item per message keeps folders of many thousand messages quick to show.
#include "core/Failure.h"
#include "models/ColumnSort.h"
#include "models/MessageRows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace qb {

class MessageListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { TextColumn, FromColumn, DateColumn, SizeColumn, IndexColumn, ColumnCount };
    // The record number k of a row, for the commands that act on selected rows.
    static constexpr int RecordRole = Qt::UserRole + 1;
    // Rows of the selected message's correspondent are painted on clSkyBlue.
    static inline const QColor ShadeColour{166, 202, 240};

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    void append(MessageRow row);
    // Appends several rows as one insertion, which the view takes in one step.
    void append(std::vector<MessageRow>&& rows);
    const MessageRow& row(int r) const { return m_rows[static_cast<std::size_t>(r)]; }
    // Room for `rows` rows in all, taken at once: growing by doubling would
    // move every row already listed, in the middle of a fill.
    void reserve(int rows) { m_rows.reserve(static_cast<std::size_t>(rows)); }

    // Shades every row whose "От" cell is `from`; none shades no row.
    void setShadedSender(const std::optional<QString>& from);

    // Removes the rows of the records `deleted` (their k) and gives the others
    // their positions among the records that stay: the source keeps its order,
    // so a record moves up by the number of deleted records before it.
    void removeRecords(std::vector<int> deleted);

    // Reorders the rows by `column`; the selection and the record numbers move
    // with their rows. A failure leaves the rows as they were.
    MaybeFailure sortRows(int column, SortDirection direction);
    // The mark a column header shows. The values are the ones the settings
    // store keeps for the last sorted column, so they stay numbers.
    static constexpr int NoMark = -1;
    static constexpr int AscendingMark = 0;
    static constexpr int DescendingMark = 1;
    static QVariant sortMarkIcon(int mark);
    int sortMark(int column) const;
    void setSortMark(int column, int mark);

  private:
    QString cell(const MessageRow& row, int column) const;

    std::vector<MessageRow> m_rows;
    std::optional<QString> m_shaded;
    std::array<int, ColumnCount> m_marks{-1, -1, -1, -1, -1};
};

} // namespace qb
