#pragma once
// The main window: folder tree, message list and viewer under a menu, a title
// strip and a toolbar. It draws the program it is given and wires its
// controls to it: one action per command, shared by the menu, the toolbar and
// the keys, enabled as the command state says. The program's state lives in
// the Application; the window keeps none.
#include <QMainWindow>
#include <memory>
#include <vector>

class QAction;
class QFileDialog;
class QKeyEvent;

namespace qb {
class Application;
enum class Command;
enum class ExportMode;
struct ReadNotice;
} // namespace qb

namespace qb::ui {
class AboutDialog;
class ColourSettings;
class CommandToolbar;
class ExportDialog;
class FolderTreeWidget;
class MainStatusBar;
class MessageListView;
class MessageViewer;
class TitleStrip;
class TrayPresence;
class WorkArea;
struct MainMenus;

} // namespace qb::ui

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(qb::Application& app, QWidget* parent = nullptr);
    ~MainWindow() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    void buildListActions();
    void createDialogs();
    void connectCommands();
    void connectTreeAndList();
    void connectProgram();

    // Every command's action enabled as the command state has it, in one place.
    void followCommandState();

    void showConnectionState(bool connected, const QString& phoneCaption);
    void setArchiveCaptions(const QStringList& captions);
    void setPhoneCaptions(const QStringList& captions);
    void expandPhoneNode();
    void showFolderOnArrowKey(QKeyEvent* event);
    void openExportDialog(qb::ExportMode mode);
    void setMessagePanel(const QString& text);
    void showReadNotice(const qb::ReadNotice& notice);
    void connectSearch();
    void showListMenu(const QPoint& at);
    void openPrintDialog();
    void openPdfDialog();

    qb::Application& m_app;
    std::vector<std::pair<qb::Command, QAction*>> m_commandActions;

    std::unique_ptr<qb::ui::MainMenus> m_menus;
    QAction* m_deleteSelectedAction = nullptr;
    QAction* m_selectAllAction = nullptr;
    QAction* m_endSearchAction = nullptr;
    qb::ui::TitleStrip* m_titleStrip = nullptr;
    qb::ui::CommandToolbar* m_toolbar = nullptr;
    qb::ui::FolderTreeWidget* m_folderTree = nullptr;
    qb::ui::MessageListView* m_messageList = nullptr;
    qb::ui::MessageViewer* m_viewer = nullptr;
    qb::ui::WorkArea* m_workArea = nullptr;
    qb::ui::MainStatusBar* m_statusBar = nullptr;
    qb::ui::ColourSettings* m_colours = nullptr;
    qb::ui::TrayPresence* m_tray = nullptr;
    qb::ui::AboutDialog* m_about = nullptr;
    qb::ui::ExportDialog* m_exportDialog = nullptr;
    QFileDialog* m_importDialog = nullptr;
    QFileDialog* m_smartphoneDialog = nullptr;
    QFileDialog* m_pdfDialog = nullptr;
};
