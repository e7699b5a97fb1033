#pragma once
// The folder tree: eight nodes in fixed places, never added, removed or
// reordered, so a node is addressed by its TreeNode.
#include "archive/FolderTree.h"

#include <QTreeWidget>
#include <array>
#include <optional>

namespace qb::ui {

class FolderTreeWidget : public QTreeWidget {
    Q_OBJECT
  public:
    static constexpr int NodeCount = TreeNodeCount;

    explicit FolderTreeWidget(QWidget* parent = nullptr);

    QTreeWidgetItem* node(TreeNode node) const;
    // The node `item` is, or none when it is none of the nodes.
    std::optional<TreeNode> nodeOf(const QTreeWidgetItem* item) const;
    // The selected node, or none when none is selected.
    std::optional<TreeNode> selectedNode() const;
    // Changes only the text: the selection and the current node stay.
    void setCaption(TreeNode node, const QString& caption);

  private:
    std::array<QTreeWidgetItem*, NodeCount> m_nodes{};
};

} // namespace qb::ui
