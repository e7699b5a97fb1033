#include "ui/FolderTreeWidget.h"

#include "archive/FolderTree.h"
#include "models/ImageList.h"

#include <QHeaderView>

namespace qb::ui {

namespace {

struct NodeLook {
    const char16_t* caption;
    int icon;
};

// Captions shown until the counts first set them; groups are followed by their folders.
constexpr NodeLook Nodes[FolderTreeWidget::NodeCount] = {
    {u"Телефон", Image::PhoneGroup},     {u"Входящие", Image::InboxFolder},
    {u"Исходящие", Image::OutboxFolder}, {u"Черновые", Image::DraftFolder},
    {u"Архив", Image::ArchiveGroup},     {u"Входящие", Image::InboxFolder},
    {u"Исходящие", Image::OutboxFolder}, {u"Черновые", Image::DraftFolder},
};

} // namespace

FolderTreeWidget::FolderTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));

    QTreeWidgetItem* group = nullptr;
    for (int position = 0; position < NodeCount; ++position) {
        const NodeLook& look = Nodes[position];
        const bool isGroup = position == PhoneNode || position == ArchiveNode;
        auto* item = isGroup ? new QTreeWidgetItem(this) : new QTreeWidgetItem(group);
        if (isGroup)
            group = item;
        item->setText(0, QString::fromUtf16(look.caption));
        item->setIcon(0, imageListIcon(look.icon));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_nodes[static_cast<std::size_t>(position)] = item;
    }
    // The archive's counts are known from the start; the phone's only after a read.
    m_nodes[ArchiveNode]->setExpanded(true);
}

QTreeWidgetItem* FolderTreeWidget::node(int position) const {
    if (position < 0 || position >= NodeCount)
        return nullptr;
    return m_nodes[static_cast<std::size_t>(position)];
}

int FolderTreeWidget::positionOf(const QTreeWidgetItem* item) const {
    for (int position = 0; position < NodeCount; ++position) {
        if (m_nodes[static_cast<std::size_t>(position)] == item)
            return position;
    }
    return -1;
}

int FolderTreeWidget::selectedPosition() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : positionOf(selected.first());
}

void FolderTreeWidget::setCaption(int position, const QString& caption) {
    if (QTreeWidgetItem* item = node(position))
        item->setText(0, caption);
}

} // namespace qb::ui
