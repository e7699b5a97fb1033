#pragma once
// The folder tree: eight nodes in fixed positions, never added, removed or
// reordered, so a node is addressed by its position (0-7).
#include <QTreeWidget>
#include <array>

namespace qb::ui {

class FolderTreeWidget : public QTreeWidget {
    Q_OBJECT
  public:
    static constexpr int NodeCount = 8;

    explicit FolderTreeWidget(QWidget* parent = nullptr);

    QTreeWidgetItem* node(int position) const;
    // Position of `item`, or -1 when it is none of the nodes.
    int positionOf(const QTreeWidgetItem* item) const;
    // Position of the selected node, or -1 when none is selected.
    int selectedPosition() const;
    // Changes only the text: the selection and the current node stay.
    void setCaption(int position, const QString& caption);

  private:
    std::array<QTreeWidgetItem*, NodeCount> m_nodes{};
};

} // namespace qb::ui
