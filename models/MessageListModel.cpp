#include "models/MessageListModel.h"

#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "models/Icons.h"

#include <algorithm>

namespace qb {

int MessageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MessageListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString MessageListModel::cell(const MessageRow& r, int column) const {
    switch (column) {
    case TextColumn:
        return r.text;
    case FromColumn:
        return r.from;
    case DateColumn:
        return r.date;
    case SizeColumn:
        return QString::number(r.size);
    case IndexColumn:
        return r.index;
    default:
        return {};
    }
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MessageRow& r = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cell(r, index.column());
    case Qt::DecorationRole:
        return index.column() == TextColumn && r.icon != Icon::None ? QVariant(icon(r.icon))
                                                                    : QVariant();
    case Qt::BackgroundRole:
        return m_shaded && r.from == *m_shaded ? QVariant(ShadeColour) : QVariant();
    case RecordRole:
        return r.record;
    default:
        return {};
    }
}

QVariant MessageListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DecorationRole)
        return sortMarkIcon(sortMark(section));
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    static const char* const headers[ColumnCount] = {QT_TR_NOOP("Сообщение"), QT_TR_NOOP("От"),
                                                     QT_TR_NOOP("Дата/Время"), QT_TR_NOOP("Размер"),
                                                     QT_TR_NOOP("Индекс")};
    return section >= 0 && section < ColumnCount ? tr(headers[section]) : QString();
}

void MessageListModel::clear() {
    beginResetModel();
    // A big folder's rows should not outlive it, but freeing 200 000 of them
    // takes the window's thread 50 ms: they are let go on a thread of their
    // own, at the lowest priority, so that it does not take the window's turn
    // on a busy machine. Their texts are implicitly shared with counts safe
    // across threads.
    if (m_rows.size() > 10000) {
        std::thread([rows = std::move(m_rows)]() mutable {
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
            std::vector<MessageRow>().swap(rows);
        }).detach();
    }
    m_rows = {};
    endResetModel();
}

void MessageListModel::append(MessageRow row) {
    std::vector<MessageRow> one;
    one.push_back(std::move(row));
    append(std::move(one));
}

void MessageListModel::append(std::vector<MessageRow>&& rows) {
    if (rows.empty())
        return;
    const int at = rowCount();
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    endInsertRows();
}

void MessageListModel::setShadedSender(const std::optional<QString>& from) {
    if (from == m_shaded)
        return;
    m_shaded = from;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void MessageListModel::removeRecords(std::vector<int> deleted) {
    std::sort(deleted.begin(), deleted.end());
    const auto isDeleted = [&](const MessageRow& r) {
        return std::binary_search(deleted.begin(), deleted.end(), r.record);
    };
    // Bottom up, one removal per run of neighbouring rows, so the rows above
    // a run keep their numbers while it goes.
    for (int last = rowCount() - 1; last >= 0; --last) {
        if (!isDeleted(row(last)))
            continue;
        int first = last;
        while (first > 0 && isDeleted(row(first - 1)))
            --first;
        beginRemoveRows({}, first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        last = first;
    }
    for (MessageRow& r : m_rows) {
        const auto before = std::lower_bound(deleted.begin(), deleted.end(), r.record);
        r.record -= static_cast<int>(before - deleted.begin());
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {RecordRole});
}

MaybeFailure MessageListModel::sortRows(int column, SortDirection direction) {
    SortOrder sorted = sortOrder(m_rows, column, direction);
    if (sorted.failure)
        return sorted.failure;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPosition(m_rows.size());
    std::vector<MessageRow> rows;
    rows.reserve(m_rows.size());
    for (const int old : sorted.rows) {
        newPosition[static_cast<std::size_t>(old)] = static_cast<int>(rows.size());
        rows.push_back(std::move(m_rows[static_cast<std::size_t>(old)]));
    }
    m_rows = std::move(rows);
    // The view's selection and current row are persistent indexes: they follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(
            index.isValid() && index.row() < rowCount()
                ? this->index(newPosition[static_cast<std::size_t>(index.row())], index.column())
                : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return std::nullopt;
}

QVariant MessageListModel::sortMarkIcon(int mark) {
    if (mark == AscendingMark)
        return icon(Icon::SortAscending);
    if (mark == DescendingMark)
        return icon(Icon::SortDescending);
    return {};
}

int MessageListModel::sortMark(int column) const {
    return column >= 0 && column < ColumnCount ? m_marks[static_cast<std::size_t>(column)] : -1;
}

void MessageListModel::setSortMark(int column, int mark) {
    if (column < 0 || column >= ColumnCount || sortMark(column) == mark)
        return;
    m_marks[static_cast<std::size_t>(column)] = mark;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace qb
