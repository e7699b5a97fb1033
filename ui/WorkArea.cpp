#include "ui/WorkArea.h"

#include "ui/FolderTreeWidget.h"
#include "ui/MessageListView.h"
#include "ui/MessageViewer.h"

namespace qb::ui {

WorkArea::WorkArea(QAbstractItemModel* messages, QSize windowSize, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), m_folderTree(new FolderTreeWidget(this)),
      m_messageList(new MessageListView(this)), m_viewer(new MessageViewer(this)) {
    m_folderTree->setObjectName(QStringLiteral("folderTree"));
    m_folderTree->setAccessibleName(QStringLiteral("folderTree"));
    m_messageList->setModel(messages);
    // The viewer brings its own font, tab width, wrapping and margin.
    m_viewer->setObjectName(QStringLiteral("viewer"));
    m_viewer->setAccessibleName(QStringLiteral("viewer"));

    auto* treeList = new QSplitter(Qt::Horizontal, this);
    treeList->setObjectName(QStringLiteral("treeListSplitter"));
    treeList->setHandleWidth(3);
    treeList->setChildrenCollapsible(false);
    treeList->addWidget(m_folderTree);
    treeList->addWidget(m_messageList);
    treeList->setStretchFactor(1, 1);
    treeList->setSizes({185, windowSize.width() - 188});

    setObjectName(QStringLiteral("listViewerSplitter"));
    setHandleWidth(3);
    setChildrenCollapsible(false);
    addWidget(treeList);
    addWidget(m_viewer);
    setStretchFactor(0, 1);
    setSizes({windowSize.height() - 170, 170});
}

} // namespace qb::ui
