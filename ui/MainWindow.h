#pragma once
// The main window: folder tree, message list and viewer under a menu, a title
// strip and a toolbar. It creates the widgets, connects them to the commands
// and shows what the commands report. The program's state lives in the
// Workspace it owns, the commands in the controllers.
#include "archive/FolderTree.h"
#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/UserDialogs.h"

#include <QMainWindow>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFileDialog;
class QKeyEvent;
class QTimer;
class QTreeWidgetItem;

namespace qb {
class ArchiveController;
class ColumnSorter;
class ExportController;
class AtPort;
class ListFill;
class MessageListModel;
class PhoneController;
class PhonePort;
class PhoneWatcher;
class SettingsStore;
enum class ExportMode;
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
struct MainMenus;
} // namespace qb::ui

class MainWindow : public QMainWindow, public qb::UserDialogs {
    Q_OBJECT
  public:
    // `workDir` holds the archive and the export template. Message boxes go
    // to `dialogs` when given (the tests record them), else to this window.
    explicit MainWindow(const QString& workDir, qb::UserDialogs* dialogs = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The archive, the phonebook and the last read, for the commands and the tests.
    qb::Workspace& workspace() { return m_workspace; }
    const qb::Workspace& workspace() const { return m_workspace; }
    // The one "a command is running" state; the command controls follow it.
    qb::CommandState& commandState() { return m_commands; }
    bool isBusy() const { return m_commands.isBusy(); }
    // The node whose messages the list shows, if any.
    std::optional<qb::TreeNode> shownFolder() const { return m_shownFolder; }
    // "От" cell of the row last looked at; decides when the list repaints.
    const QString& lastSender() const { return m_lastSender; }

    QTreeWidgetItem* node(qb::TreeNode node) const;
    qb::ui::FolderTreeWidget* folderTree() const { return m_folderTree; }
    qb::MessageListModel* messageModel() const { return m_messages; }
    qb::ui::ExportDialog* exportDialog() const { return m_exportDialog; }
    qb::PhonePort* activePort() const;
    // Replaces the port deletion on the phone talks to (a scripted phone in the tests).
    void setDeletionPort(qb::AtPort* port);
    // How long a fill builds rows before the window handles its events.
    void setFillSliceMilliseconds(int milliseconds) { m_fillSliceMs = milliseconds; }

    // Lists the folder at a node (even the one shown); a group node lists nothing.
    void showFolder(qb::TreeNode node);
    void fillList();
    void setMessagePanel(const QString& text);
    QString messagePanel() const;
    void reloadArchive();
    void setPhoneCaptions();

    // UserDialogs: window-modal boxes over the window or the dialog it shows.
    void inform(const QString& text) override;
    void tell(const QString& text) override;
    void fail(const QString& text) override;
    void ask(const QString& question, std::function<void(bool)> answered) override;

  public slots:
    void readPhone();
    void showConnection();
    void importArchive();
    void exportSelected();
    void exportAll();
    void exportForSmartphone();
    void deleteSelectedInArchive();
    void deleteAllInArchive();
    void deleteSelectedOnPhone();
    void showAbout();
    void refreshConnectionStatus();
    void sortByColumn(int column);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    QWidget* buildWorkArea();
    void createDialogs();
    void connectControls();
    void connectCommands();
    void loadStartState();
    QWidget* modalParent();

    // Commands follow one state: enabled while no job runs and their subject exists.
    void updateCommandControls();
    void commandStateChanged(bool busy);

    // Folder tree and message list.
    void showSelectedFolder();
    void showFolderOnArrowKey(QKeyEvent* event);
    void fillDone(qb::ListFill& fill);
    void showClickedRow();
    void followSelection();
    void followKeyboardSelection();
    void followSender(int row);
    void showRowText(int row);
    void setArchiveCaptions(const QStringList& captions);
    void removeListedRecords(const std::vector<int>& records);

    // Deleting and exporting.
    void handleListKey(QKeyEvent* event);
    void askAndDeleteSelected();
    std::optional<qb::TreeNode> deletionTarget() const;
    void deleteRowsInArchive(qb::FolderKind folder);
    void deleteRowsOnPhone(qb::FolderKind folder);
    bool folderNodeSelected() const;
    void openExportDialog(qb::ExportMode mode, std::vector<int> rows);

    // Phone.
    void showConnectionState(bool connected, const QString& phoneCaption);
    void expandPhoneNode();
    void refreshShownFolder(bool (*ofKind)(qb::TreeNode));

    qb::Workspace m_workspace;
    qb::CommandState m_commands;
    qb::UserDialogs& m_dialogs;
    std::unique_ptr<qb::SettingsStore> m_settings;
    std::unique_ptr<qb::ColumnSorter> m_sorter;
    qb::ArchiveController* m_archive = nullptr;
    qb::ExportController* m_exporter = nullptr;
    qb::PhoneWatcher* m_watcher = nullptr;
    qb::PhoneController* m_phone = nullptr;
    qb::ui::ColourSettings* m_colours = nullptr;

    std::optional<qb::TreeNode> m_shownFolder;
    QString m_lastSender;
    bool m_connected = false;
    bool m_selectionExportable = false; // rows are selected
    bool m_listExportable = false;      // a folder is listed with rows
    bool m_closeWhenIdle = false;       // closing waits for the cancelled job to end
    bool m_refillWhenIdle = false;      // a folder was chosen while a job ran
    int m_fillSliceMs = 8;

    std::unique_ptr<qb::ui::MainMenus> m_menus;
    QAction* m_deleteKeyAction = nullptr;
    QAction* m_cancelPhoneAction = nullptr;
    qb::ui::TitleStrip* m_titleStrip = nullptr;
    qb::ui::CommandToolbar* m_toolbar = nullptr;
    qb::ui::FolderTreeWidget* m_folderTree = nullptr;
    qb::ui::MessageListView* m_messageList = nullptr;
    qb::MessageListModel* m_messages = nullptr;
    qb::ui::MessageViewer* m_viewer = nullptr;
    qb::ui::MainStatusBar* m_statusBar = nullptr;
    QTimer* m_connectionTimer = nullptr;
    qb::ui::AboutDialog* m_about = nullptr;
    qb::ui::ExportDialog* m_exportDialog = nullptr;
    QFileDialog* m_importDialog = nullptr;
    QFileDialog* m_smartphoneDialog = nullptr;
};
