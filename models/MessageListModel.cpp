#include "models/MessageListModel.h"

#include "models/FolderCaptions.h"
#include "models/Icons.h"
#include "models/ReleaseAside.h"

#include <algorithm>

namespace qb {
namespace {

// A big folder's messages should not outlive it, nor hold the window's
// thread while they go.
void release(std::shared_ptr<const FolderRows> rows) {
    if (rows && rows->count() > 10000)
        releaseAside(std::move(rows));
}

// "Телефон ▸ Входящие", "Архив ▸ Черновые".
QString folderName(std::optional<TreeNode> node) {
    if (!node || !isFolder(*node))
        return {};
    const TreeNode group = isPhoneFolder(*node) ? TreeNode::Phone : TreeNode::Archive;
    return nodeName(group) + QStringLiteral(" ▸ ") + nodeName(*node);
}

} // namespace

std::vector<MessageListModel::Entry> MessageListModel::folderOrder(const FolderRows& rows) {
    std::vector<Entry> entries(static_cast<std::size_t>(rows.count()));
    for (int position = 0; position < rows.count(); ++position)
        entries[static_cast<std::size_t>(position)] = {position, rows.recordOf(position)};
    return entries;
}

MessageListModel::MessageListModel(QObject* parent)
    : QAbstractTableModel(parent), m_rows(FolderRows::none()) {}

MessageListModel::~MessageListModel() {
    release(std::move(m_rows));
}

int MessageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int MessageListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const MessageRow& MessageListModel::cachedRow(int r) const {
    const int position = m_entries[static_cast<std::size_t>(r)].position;
    if (const MessageRow* built = m_built.object(position))
        return *built;
    auto* built = new MessageRow(m_rows->row(*m_builder, position));
    if (m_rows->isGathered())
        built->folder = folderName(m_rows->nodeOf(position));
    m_built.insert(position, built);
    return *built;
}

MessageRow MessageListModel::row(int r) const {
    MessageRow shown = cachedRow(r);
    shown.record = record(r);
    return shown;
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
    case FolderColumn:
        return r.folder;
    default:
        return {};
    }
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == RecordRole)
        return record(index.row());
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::DecorationRole &&
        role != Qt::BackgroundRole)
        return {};
    const MessageRow& r = cachedRow(index.row());
    switch (role) {
    case Qt::DecorationRole:
        return index.column() == TextColumn && r.icon != Icon::None ? QVariant(icon(r.icon))
                                                                    : QVariant();
    case Qt::BackgroundRole:
        return m_shaded && r.from == *m_shaded ? QVariant(ShadeColour) : QVariant();
    default:
        return cell(r, index.column());
    }
}

QVariant MessageListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DecorationRole)
        return sortMarkIcon(sortMark(section));
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    static const char* const headers[ColumnCount] = {QT_TR_NOOP("Сообщение"),  QT_TR_NOOP("От"),
                                                     QT_TR_NOOP("Дата/Время"), QT_TR_NOOP("Размер"),
                                                     QT_TR_NOOP("Индекс"),     QT_TR_NOOP("Папка")};
    return section >= 0 && section < ColumnCount ? tr(headers[section]) : QString();
}

void MessageListModel::take(std::shared_ptr<const FolderRows> rows) {
    m_built.clear();
    std::swap(m_rows, rows);
    release(std::move(rows));
    m_builder = m_rows->builder();
    ++m_generation;
}

void MessageListModel::show(std::shared_ptr<const FolderRows> rows, std::vector<Entry> entries) {
    beginResetModel();
    take(std::move(rows));
    m_entries = std::move(entries);
    endResetModel();
}

void MessageListModel::clear() {
    show(FolderRows::none(), {});
}

void MessageListModel::setShadedSender(const std::optional<QString>& from) {
    if (from == m_shaded)
        return;
    m_shaded = from;
    if (!m_entries.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

std::optional<TreeNode> MessageListModel::folderOf(int r) const {
    return m_rows->nodeOf(m_entries[static_cast<std::size_t>(r)].position);
}

void MessageListModel::removeRecords(std::vector<int> deleted, std::optional<TreeNode> folder) {
    std::sort(deleted.begin(), deleted.end());
    const auto concerned = [&](const Entry& entry) {
        return !folder || !m_rows->isGathered() || m_rows->nodeOf(entry.position) == folder;
    };
    const auto isDeleted = [&](const Entry& entry) {
        return concerned(entry) && std::binary_search(deleted.begin(), deleted.end(), entry.record);
    };
    ++m_generation;
    // Bottom up, one removal per run of neighbouring rows, so the rows above
    // a run keep their numbers while it goes.
    for (int last = rowCount() - 1; last >= 0; --last) {
        if (!isDeleted(m_entries[std::size_t(last)]))
            continue;
        int first = last;
        while (first > 0 && isDeleted(m_entries[std::size_t(first - 1)]))
            --first;
        beginRemoveRows({}, first, last);
        m_entries.erase(m_entries.begin() + first, m_entries.begin() + last + 1);
        endRemoveRows();
        last = first;
    }
    for (Entry& entry : m_entries) {
        if (!concerned(entry))
            continue;
        const auto before = std::lower_bound(deleted.begin(), deleted.end(), entry.record);
        entry.record -= static_cast<int>(before - deleted.begin());
    }
    if (!m_entries.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {RecordRole});
}

void MessageListModel::reorder(const std::vector<int>& sorted) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    ++m_generation;
    std::vector<int> newRow(m_entries.size());
    std::vector<Entry> entries;
    entries.reserve(m_entries.size());
    for (const int old : sorted) {
        newRow[static_cast<std::size_t>(old)] = static_cast<int>(entries.size());
        entries.push_back(m_entries[static_cast<std::size_t>(old)]);
    }
    m_entries = std::move(entries);
    // The view's selection and current row are persistent indexes: they follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(
            index.isValid() && index.row() < rowCount()
                ? this->index(newRow[static_cast<std::size_t>(index.row())], index.column())
                : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
