#pragma once
// The main window: folder tree, message list and viewer under a menu, a title
// strip and a toolbar. It holds the program's state for the whole run and
// wires controls to the commands; the commands' logic lives in the libraries.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "core/Failure.h"
#include "core/LineList.h"
#include "core/Progress.h"
#include "reading/FieldBounds.h"
#include "reading/dialogue/PhoneLine.h"
#include "ui/BusyScope.h"

#include <QMainWindow>
#include <memory>

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
class TMotoATMode;
class TMotoATModemItem;
} // namespace qb

namespace qb::ui {
class ControlEvents;
class FolderTreeWidget;
class MessageViewer;
class MessageListModel;
class StatusPanel;
class StatusProgress;
} // namespace qb::ui

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // --- State shared by the window's commands; it lives as long as the window.
    QString WorkDir;      // current directory at start-up, captured once
    int ShownFolder = -1; // tree position whose messages the list shows; -1: none
    qb::LineList Memo1;   // scratch line lists of the phone read and the archive
    qb::LineList Memo2;
    qb::LineList Memo3;
    qb::ReadResult readResult;
    qb::Archive archive;
    qb::Phonebook phonebook;
    qb::FieldBounds fieldBounds;
    int ProgressStepSize = 0;

    // --- Controls the commands of other parts reach for.
    QTreeWidgetItem* node(int position) const;
    qb::ui::FolderTreeWidget* folderTree() const { return SMS; }
    qb::ui::MessageListModel* messageModel() const { return m_messages; }
    qb::Progress& progress();
    void setTitleText(const QString& text);
    void setMessagePanel(const QString& text);
    QString messagePanel() const;
    void showFailure(const qb::Failure& failure);

    // --- Shared helpers named by the program's design.
    void ReloadArchive();
    void LoadPhonebook();
    void SetArchiveCaptions();
    void SetPhoneCaptions();
    void RefreshConnectionStatus();

    // --- The phone link: the watcher owns the ports; ActivePort only refers to
    // one of them and becomes null the moment the watcher destroys it.
    qb::TMotoATMode* MotoATMode1 = nullptr;
    qb::TMotoATModemItem* ActivePort = nullptr;
    // The port the AT dialogue talks to, looked up anew at every use.
    qb::PortSource portSource();

    // --- The message list and viewer, in TForm1List.cpp.
    QString LastSender; // "От" cell of the row last looked at; decides when the list repaints
    void FillList();
    void RestoreColumnSort();
    void DeleteOnPhone(qb::FolderKind folder);
    void DeleteSelectedInArchive(qb::FolderKind folder);
    // The port the deletion on the phone talks to: portSource() unless replaced
    // (the tests put a scripted phone here).
    void setDeletionPort(qb::PortSource port) { m_deletionPort = std::move(port); }
    // How often a fill lets window events run, in milliseconds (0: after every row).
    void setFillEventInterval(int milliseconds) { m_fillEventInterval = milliseconds; }

    // --- While a long command lets window events run, every other command is refused.
    bool isBusy() const { return m_busy.isBusy(); }
    qb::ui::BusyGuard& busyGuard() { return m_busy; }

  public slots:
    void suiButton1Click(); // read all messages from the phone
    void suiButton2Click(); // connect
    void suiButton3Click(); // import a P2kTools archive
    void suiButton5Click(); // export the selected messages
    void suiButton6Click(); // export all listed messages
    void N2Click();
    void N3Click();
    void N6Click(); // delete the selected messages in the archive
    void N7Click(); // delete all archive message files
    void N13Click();
    void N14Click(); // delete the selected messages on the phone
    void N15Click(); // about box
    void Timer2Timer();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void FormClose();
    void createDeviceWatcher();
    void forgetPort(qb::TMotoATModemItem* port);
    bool openActivePort();
    void finishPhoneRead();
    void refreshShownPhoneFolder();
    bool reportFailure(const qb::MaybeFailure& failure);
    void applyColours(const QColor& background, const QColor& text);

    // Message list handlers and their helpers, in TForm1List.cpp.
    void SMSClick();
    void SMSKeyUp(QKeyEvent* event);
    void List1Click();
    void List1SelectItem();
    void List1KeyDown(QKeyEvent* event);
    void List1KeyUp(QKeyEvent* event);
    void closeIfRequested();
    qb::MaybeFailure fillRows(int position);
    int deletionTarget() const;
    void followSender(int row);
    void showRowText(int row);

    // Construction, in TForm1Layout.cpp.
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

    // Controls, named as the program's design names them.
    QLabel* RzLabel1 = nullptr;
    QToolButton* suiButton1 = nullptr;
    QToolButton* suiButton2 = nullptr;
    QToolButton* suiButton3 = nullptr;
    QToolButton* suiButton5 = nullptr;
    QToolButton* suiButton6 = nullptr;
    qb::ui::FolderTreeWidget* SMS = nullptr;
    QTableView* List1 = nullptr;
    qb::ui::MessageViewer* suiMemo1 = nullptr;
    QSplitter* RxSplitter1 = nullptr;
    QSplitter* RxSplitter2 = nullptr;
    QStatusBar* suiStatusBar1 = nullptr;
    qb::ui::StatusPanel* m_statusPanel = nullptr; // panel 0
    QLabel* m_messagePanel = nullptr;             // panel 1
    QProgressBar* suiProgressBar1 = nullptr;
    QTimer* Timer2 = nullptr;
    qb::ui::MessageListModel* m_messages = nullptr;
    std::unique_ptr<qb::ui::StatusProgress> m_progress;
    qb::ui::BusyGuard m_busy;
    bool m_closeRequested = false; // closing waits for the running long command
    int m_fillEventInterval = 10;
    qb::PortSource m_deletionPort;

    // Menu items that run a command of their own.
    QAction* N2 = nullptr;  // Файл ▸ Сохранить
    QAction* N3 = nullptr;  // Файл ▸ Сохранить все
    QAction* N5 = nullptr;  // Файл ▸ Конвертировать
    QAction* N6 = nullptr;  // Файл ▸ Удалить сообщение
    QAction* N7 = nullptr;  // Файл ▸ Удалить все сообщения
    QAction* N9 = nullptr;  // Файл ▸ Выход
    QAction* N11 = nullptr; // Телефон ▸ Подключить
    QAction* N13 = nullptr; // Телефон ▸ Считать
    QAction* N14 = nullptr; // Телефон ▸ Удалить сообщение
    QAction* N15 = nullptr; // О Программе
};
