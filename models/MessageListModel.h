#pragma once
// The rows of the message list. The model holds one folder's messages as they
// were when it was chosen (FolderRows) and, per row, only where that message
// is and which record the commands act on; the cells of a row are built when
// the view asks for them, so showing 100 000 messages takes no longer than
// showing ten.
#include "models/ColumnSort.h"
#include "models/FolderRows.h"
#include "models/MessageRows.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QColor>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace qb {

class MessageListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The folder column is shown only for rows gathered from several folders.
    enum Column {
        TextColumn,
        FromColumn,
        DateColumn,
        SizeColumn,
        IndexColumn,
        FolderColumn,
        ColumnCount
    };
    // The columns a header click sorts by: all but the folder's.
    static constexpr int SortableColumnCount = FolderColumn;
    // The record number k of a row, for the commands that act on selected rows.
    static constexpr int RecordRole = Qt::UserRole + 1;
    // Rows of the selected message's correspondent are painted on clSkyBlue.
    static inline const QColor ShadeColour{166, 202, 240};

    // One row: the message's position among the folder's rows (from 0), and
    // the record number k (from 1) the commands act on. They part once records
    // above it are deleted: the row still shows its message, and its record
    // number follows the file.
    struct Entry {
        int position = 0;
        int record = 0;
        bool operator==(const Entry&) const = default;
    };
    // Every row of `rows`, in the folder's order.
    static std::vector<Entry> folderOrder(const FolderRows& rows);

    explicit MessageListModel(QObject* parent = nullptr);
    ~MessageListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Lists `rows` in the order `entries` gives; the selection goes.
    void show(std::shared_ptr<const FolderRows> rows, std::vector<Entry> entries);
    // Lists nothing.
    void clear();
    const std::shared_ptr<const FolderRows>& folderRows() const { return m_rows; }
    // The node listed (group nodes too), none when nothing is.
    std::optional<TreeNode> node() const { return m_rows->node(); }
    const std::vector<Entry>& entries() const { return m_entries; }
    MessageRow row(int r) const;
    int record(int r) const { return m_entries[static_cast<std::size_t>(r)].record; }
    // Changes at every change of the rows shown, so that work begun on the rows
    // of one moment can tell that they have changed since.
    quint64 generation() const { return m_generation; }

    // Shades every row whose "От" cell is `from`; none shades no row.
    void setShadedSender(const std::optional<QString>& from);

    // Removes the rows of the records `deleted` (their k) and gives the others
    // their positions among the records that stay: the source keeps its order,
    // so a record moves up by the number of deleted records before it. Of
    // rows gathered from several folders, only those of `folder` are concerned.
    void removeRecords(std::vector<int> deleted, std::optional<TreeNode> folder = std::nullopt);
    // The folder of row r: the listed one, or for gathered rows its own.
    std::optional<TreeNode> folderOf(int r) const;

    // Puts the rows in a new order: sorted[i] is the row to show at i. The
    // selection and the record numbers move with their rows.
    void reorder(const std::vector<int>& sorted);
    // The mark a column header shows. The values are the ones the settings
    // store keeps for the last sorted column, so they stay numbers.
    static constexpr int NoMark = -1;
    static constexpr int AscendingMark = 0;
    static constexpr int DescendingMark = 1;
    static QVariant sortMarkIcon(int mark);
    int sortMark(int column) const;
    void setSortMark(int column, int mark);

  private:
    const MessageRow& cachedRow(int r) const;
    QString cell(const MessageRow& row, int column) const;
    void take(std::shared_ptr<const FolderRows> rows);

    std::shared_ptr<const FolderRows> m_rows;
    std::vector<Entry> m_entries;
    std::unique_ptr<MessageRowBuilder> m_builder;
    // Rows the view asked for lately, by position: a repaint asks for each
    // cell several times over.
    mutable QCache<int, MessageRow> m_built{2048};
    std::optional<QString> m_shaded;
    std::array<int, ColumnCount> m_marks{-1, -1, -1, -1, -1, -1};
    quint64 m_generation = 0;
};

} // namespace qb
