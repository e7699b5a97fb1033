#include "ui/WorkArea.h"

#include "ui/FolderTreeWidget.h"
#include "ui/MessageListView.h"
#include "ui/MessageViewer.h"

#include <QStackedWidget>
#include <QTextBrowser>

namespace qb::ui {

WorkArea::WorkArea(QAbstractItemModel* messages, QSize windowSize, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), m_folderTree(new FolderTreeWidget(this)),
      m_messageList(new MessageListView(this)), m_viewer(new MessageViewer(this)),
      m_viewerPlace(new QStackedWidget(this)), m_chat(new QTextBrowser(this)) {
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
    m_chat->setObjectName(QStringLiteral("chatView"));
    m_chat->setAccessibleName(QStringLiteral("chatView"));
    m_viewerPlace->addWidget(m_viewer);
    m_viewerPlace->addWidget(m_chat);
    addWidget(m_viewerPlace);
    setStretchFactor(0, 1);
    setSizes({windowSize.height() - 170, 170});
}

void WorkArea::showChat(const QString& html) {
    m_chat->setHtml(html);
    m_viewerPlace->setCurrentWidget(html.isEmpty() ? static_cast<QWidget*>(m_viewer) : m_chat);
}

} // namespace qb::ui
