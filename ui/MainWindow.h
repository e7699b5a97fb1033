#pragma once
// The main window: folder tree, message list and viewer under a menu, a title
// strip and a toolbar. It wires controls to the commands; the program's state
// lives in the Workspace it owns, and the commands' logic in the libraries.
#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/UserDialogs.h"
#include "core/Failure.h"
#include "core/Progress.h"
#include "export/ExportRun.h"
#include "ui/BusyScope.h"

#include <QMainWindow>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QKeyEvent;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QTableView;
class QTimer;
class QToolButton;
class QTreeWidgetItem;

namespace qb {
class AtPort;
class PhoneController;
class PhoneWatcher;
class PhonePort;
class ColumnSorter;
class SettingsStore;
class MessageListModel;
} // namespace qb

namespace qb::ui {
class AboutDialog;
class ColourPicker;
class ColourSettings;
class ExportDialog;
class FolderTreeWidget;
class MessageViewer;
class StatusPanel;
class StatusProgress;
class TemplateEditor;
} // namespace qb::ui

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The archive, the phonebook and the last read, for the commands and the tests.
    qb::Workspace& workspace() { return m_workspace; }
    const qb::Workspace& workspace() const { return m_workspace; }
    // Tree position whose messages the list shows; -1: none.
    int shownFolder() const { return m_shownFolder; }

    QTreeWidgetItem* node(int position) const;
    qb::ui::FolderTreeWidget* folderTree() const { return m_folderTree; }
    qb::MessageListModel* messageModel() const { return m_messages; }
    qb::PhonePort* activePort() const;
    const QString& lastSender() const { return m_lastSender; }

    // Lists the folder at a tree position (even the one shown), or nothing for a group node.
    void showFolder(int position);
    void fillList();
    qb::Progress& progress();
    void setMessagePanel(const QString& text);
    QString messagePanel() const;

    // Reload the archive or phonebook from the working directory; a failure is shown.
    void reloadArchive();
    void loadPhonebook();
    void setArchiveCaptions();
    void setPhoneCaptions();

    // The port deletion on the phone talks to: the active port unless replaced
    // (the tests put a scripted phone here).
    void setDeletionPort(qb::AtPort* port);
    // How often a fill lets window events run, in milliseconds (0: after every row).
    void setFillEventInterval(int milliseconds) { m_fillEventInterval = milliseconds; }

    // While a long command lets window events run, every other command is refused.
    bool isBusy() const { return m_busy.isBusy(); }

    qb::ui::ExportDialog* exportDialog() const { return m_exportDialog; }
    qb::ui::BusyGuard& busyGuard() { return m_busy; }

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
    void loadStartState();
    void closePorts();
    void createDeviceWatcher();
    void showConnectionState(bool connected, const QString& phoneCaption);
    void expandPhoneNode();
    void refreshShownPhoneFolder();
    bool reportFailure(const qb::MaybeFailure& failure);
    void showFailure(const qb::Failure& failure);
    void closeIfRequested();

    // The folder tree and the message list, in MainWindowList.cpp.
    void restoreColumnSort();
    qb::MaybeFailure fillRows(int position);
    void showSelectedFolder();
    void showFolderOnArrowKey(QKeyEvent* event);
    void showClickedRow();
    void followSelection();
    void followKeyboardSelection(QKeyEvent* event);
    void followSender(int row);
    void showRowText(int row);
    std::vector<int> selectedRows() const;

    // Deleting, in MainWindowDelete.cpp.
    void handleListKey(QKeyEvent* event);
    int deletionTarget() const;
    void deleteOnPhone(qb::FolderKind folder);
    void deleteRowsInArchive(qb::FolderKind folder);

    // Exporting, in MainWindowExport.cpp.
    void createExportWindows();
    bool folderNodeSelected() const;
    void openExportDialog(qb::ExportMode mode, std::vector<int> rows);
    std::vector<qb::ExportRow> exportRows(const std::vector<int>& rows) const;

    // Construction, in MainWindowLayout.cpp.
    void buildWindow();
    void buildMenus();
    QWidget* buildTitleStrip();
    QWidget* buildToolbar();
    QWidget* buildColourPanel(QWidget* parent);
    QToolButton* buildToolButton(QWidget* parent, const char* name, int x, const QString& hint,
                                 const QIcon& picture);
    QWidget* buildWorkArea();
    void buildStatusBar();
    void connectControls();
    // Colours, hover texts, the notification icon and the about box, in MainWindowExtras.cpp.
    void setUpExtras();

    qb::Workspace m_workspace;
    std::unique_ptr<qb::SettingsStore> m_settings;
    std::unique_ptr<qb::ColumnSorter> m_sorter;
    qb::ui::ColourSettings* m_colours = nullptr;
    int m_shownFolder = -1;
    QString m_lastSender; // "От" cell of the row last looked at; decides when the list repaints

    // The phone link: the watcher owns the ports; the controller follows it.
    std::unique_ptr<qb::UserDialogs> m_dialogs;
    qb::CommandState m_commands;
    qb::PhoneWatcher* m_phoneWatcher = nullptr;
    qb::PhoneController* m_phone = nullptr;

    QLabel* m_titleLabel = nullptr;
    QToolButton* m_readButton = nullptr;
    QToolButton* m_connectButton = nullptr;
    QToolButton* m_importButton = nullptr;
    QToolButton* m_exportSelectedButton = nullptr;
    QToolButton* m_exportAllButton = nullptr;
    QWidget* m_toolbarPanel = nullptr;
    qb::ui::ColourPicker* m_backgroundColourPicker = nullptr;
    qb::ui::ColourPicker* m_textColourPicker = nullptr;
    qb::ui::AboutDialog* m_about = nullptr;
    qb::ui::FolderTreeWidget* m_folderTree = nullptr;
    QTableView* m_messageList = nullptr;
    qb::MessageListModel* m_messages = nullptr;
    qb::ui::MessageViewer* m_viewer = nullptr;
    QSplitter* m_treeListSplitter = nullptr;
    QSplitter* m_listViewerSplitter = nullptr;
    QStatusBar* m_statusBar = nullptr;
    qb::ui::StatusPanel* m_statusPanel = nullptr; // panel 0
    QLabel* m_messagePanel = nullptr;             // panel 1
    QProgressBar* m_progressBar = nullptr;
    QTimer* m_connectionTimer = nullptr;
    std::unique_ptr<qb::ui::StatusProgress> m_progress;
    qb::ui::BusyGuard m_busy;
    std::optional<qb::ui::BusyScope> m_jobBusy; // while m_commands runs a job
    bool m_closeRequested = false;              // closing waits for the running long command
    int m_fillEventInterval = 10;

    qb::ui::TemplateEditor* m_templateEditor = nullptr;
    qb::ui::ExportDialog* m_exportDialog = nullptr;

    QAction* m_exportSelectedAction = nullptr; // Файл ▸ Сохранить
    QAction* m_exportAllAction = nullptr;      // Файл ▸ Сохранить все
    QAction* m_smartphoneExportAction = nullptr; // Файл ▸ Экспорт для смартфона…
    QAction* m_importAction = nullptr;           // Файл ▸ Конвертировать
    QAction* m_deleteInArchiveAction = nullptr; // Файл ▸ Удалить сообщение
    QAction* m_deleteAllInArchiveAction = nullptr; // Файл ▸ Удалить все сообщения
    QAction* m_quitAction = nullptr;               // Файл ▸ Выход
    QAction* m_connectAction = nullptr;            // Телефон ▸ Подключить
    QAction* m_readAction = nullptr;               // Телефон ▸ Считать
    QAction* m_deleteOnPhoneAction = nullptr; // Телефон ▸ Удалить сообщение
    QAction* m_aboutAction = nullptr;         // О Программе
};
