#include "ui/MessageListView.h"

#include "models/MessageListModel.h"

#include <QHeaderView>
#include <algorithm>

namespace qb::ui {

MessageListView::MessageListView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("messageList"));
    setAccessibleName(QStringLiteral("messageList"));
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(17);
}

void MessageListView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    QHeaderView* columns = horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsClickable(true);
    columns->setSectionResizeMode(MessageListModel::TextColumn, QHeaderView::Stretch);
    columns->resizeSection(MessageListModel::FromColumn, 150);
    columns->resizeSection(MessageListModel::DateColumn, 150);
    columns->resizeSection(MessageListModel::SizeColumn, 50);
    columns->setSectionResizeMode(MessageListModel::IndexColumn, QHeaderView::Fixed);
    columns->resizeSection(MessageListModel::IndexColumn, 50);
    columns->resizeSection(MessageListModel::FolderColumn, 140);
    // The folder column names where each of a search's results lives.
    const auto followRows = [this] {
        const auto* list = qobject_cast<const MessageListModel*>(this->model());
        setColumnHidden(MessageListModel::FolderColumn, !list || !list->folderRows()->isGathered());
    };
    connect(model, &QAbstractItemModel::modelReset, this, followRows);
    followRows();
}

std::vector<int> MessageListView::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace qb::ui
