#pragma once
// The window's work area: the folder tree left of the message list, the
// viewer under both. Extra room goes to the list.
#include <QSplitter>

class QAbstractItemModel;
class QStackedWidget;
class QTextBrowser;

namespace qb::ui {

class FolderTreeWidget;
class MessageListView;
class MessageViewer;

class WorkArea : public QSplitter {
    Q_OBJECT
  public:
    // `windowSize`: the window's size at start, which the splitters divide.
    WorkArea(QAbstractItemModel* messages, QSize windowSize, QWidget* parent = nullptr);

    FolderTreeWidget* folderTree() const { return m_folderTree; }
    MessageListView* messageList() const { return m_messageList; }
    MessageViewer* viewer() const { return m_viewer; }
    // A conversation as a chat, in the viewer's place while one is shown.
    QTextBrowser* chatView() const { return m_chat; }
    // Shows `html` in the chat view, or the viewer again when it is empty.
    void showChat(const QString& html);

  private:
    QStackedWidget* m_viewerPlace;
    QTextBrowser* m_chat;
    FolderTreeWidget* m_folderTree;
    MessageListView* m_messageList;
    MessageViewer* m_viewer;
};

} // namespace qb::ui
