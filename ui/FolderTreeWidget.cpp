#include "ui/FolderTreeWidget.h"

#include "models/FolderCaptions.h"
#include "models/Icons.h"

#include <QHeaderView>

namespace qb::ui {

namespace {

// Groups are followed by their folders.
constexpr Icon NodeIcons[FolderTreeWidget::NodeCount] = {
    Icon::PhoneGroup,   Icon::InboxFolder, Icon::OutboxFolder, Icon::DraftFolder,
    Icon::ArchiveGroup, Icon::InboxFolder, Icon::OutboxFolder, Icon::DraftFolder,
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
        const auto node = static_cast<TreeNode>(position);
        const bool isGroup = node == TreeNode::Phone || node == TreeNode::Archive;
        auto* item = isGroup ? new QTreeWidgetItem(this) : new QTreeWidgetItem(group);
        if (isGroup)
            group = item;
        // Names alone until the counts first set the captions.
        item->setText(0, nodeName(node));
        item->setIcon(0, icon(NodeIcons[position]));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_nodes[static_cast<std::size_t>(position)] = item;
    }
    // The archive's counts are known from the start; the phone's only after a read.
    node(TreeNode::Archive)->setExpanded(true);
}

QTreeWidgetItem* FolderTreeWidget::node(TreeNode node) const {
    return m_nodes[static_cast<std::size_t>(node)];
}

std::optional<TreeNode> FolderTreeWidget::nodeOf(const QTreeWidgetItem* item) const {
    for (int position = 0; position < NodeCount; ++position) {
        if (m_nodes[static_cast<std::size_t>(position)] == item)
            return static_cast<TreeNode>(position);
    }
    return std::nullopt;
}

std::optional<TreeNode> FolderTreeWidget::selectedNode() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? std::nullopt : nodeOf(selected.first());
}

void FolderTreeWidget::setCaption(TreeNode node, const QString& caption) {
    this->node(node)->setText(0, caption);
}

} // namespace qb::ui
