#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "models/ColumnSorter.h"
#include "models/ImageList.h"
#include "models/MessageListModel.h"
#include "models/SettingsStore.h"
#include "ui/AboutDialog.h"
#include "ui/ApplicationTitle.h"
#include "ui/ColourSettings.h"
#include "ui/ControlEvents.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"
#include "ui/StatusPanel.h"
#include "ui/StatusProgress.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr qb::FolderKind Kinds[] = {qb::FolderKind::Inbox, qb::FolderKind::Outbox,
                                    qb::FolderKind::Draft};

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_settings(std::make_unique<qb::SettingsStore>()) {
    m_connectionTimer = new QTimer(this);
    m_connectionTimer->setObjectName(QStringLiteral("connectionTimer"));
    m_connectionTimer->setInterval(500);
    createDeviceWatcher();
    buildWindow();
    m_progress = std::make_unique<qb::ui::StatusProgress>(m_progressBar);
    connectControls();
    setUpExtras();
    m_connectionTimer->start();
    loadStartState();
    createExportWindows();
    m_about = new qb::ui::AboutDialog(this); // the last of the windows made at start-up
}

MainWindow::~MainWindow() = default;

void MainWindow::connectControls() {
    // Toolbar
    connect(m_readButton, &QToolButton::clicked, this, &MainWindow::readPhone);
    connect(m_connectButton, &QToolButton::clicked, this, &MainWindow::showConnection);
    connect(m_importButton, &QToolButton::clicked, this, &MainWindow::importArchive);
    connect(m_exportSelectedButton, &QToolButton::clicked, this, &MainWindow::exportSelected);
    connect(m_exportAllButton, &QToolButton::clicked, this, &MainWindow::exportAll);
    // Menu "Файл"
    connect(m_exportSelectedAction, &QAction::triggered, this, &MainWindow::exportSelected);
    connect(m_exportAllAction, &QAction::triggered, this, &MainWindow::exportAll);
    connect(m_smartphoneExportAction, &QAction::triggered, this, &MainWindow::exportForSmartphone);
    connect(m_importAction, &QAction::triggered, this, &MainWindow::importArchive);
    connect(m_deleteInArchiveAction, &QAction::triggered, this,
            &MainWindow::deleteSelectedInArchive);
    connect(m_deleteAllInArchiveAction, &QAction::triggered, this, &MainWindow::deleteAllInArchive);
    connect(m_quitAction, &QAction::triggered, this, &MainWindow::close);
    // Menu "Телефон" and "О Программе"
    connect(m_connectAction, &QAction::triggered, this, &MainWindow::showConnection);
    connect(m_readAction, &QAction::triggered, this, &MainWindow::readPhone);
    connect(m_deleteOnPhoneAction, &QAction::triggered, this, &MainWindow::deleteSelectedOnPhone);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    // Status
    connect(m_connectionTimer, &QTimer::timeout, this, &MainWindow::refreshConnectionStatus);
    // Folder tree, message list and viewer
    auto* treeEvents = qb::ui::ControlEvents::watch(m_folderTree);
    auto* listEvents = qb::ui::ControlEvents::watch(m_messageList);
    connect(treeEvents, &qb::ui::ControlEvents::clicked, this, &MainWindow::showSelectedFolder);
    connect(treeEvents, &qb::ui::ControlEvents::keyReleased, this,
            &MainWindow::showFolderOnArrowKey);
    connect(listEvents, &qb::ui::ControlEvents::clicked, this, &MainWindow::showClickedRow);
    connect(listEvents, &qb::ui::ControlEvents::keyPressed, this, &MainWindow::handleListKey);
    connect(listEvents, &qb::ui::ControlEvents::keyReleased, this,
            &MainWindow::followKeyboardSelection);
    connect(m_messageList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::followSelection);
    // Busy guard: the command controls rest while a long command runs; a close
    // asked for meanwhile happens once it has ended.
    m_busy.setCommandControls(
        {m_readButton, m_connectButton, m_importButton, m_exportSelectedButton, m_exportAllButton},
        {m_exportSelectedAction, m_exportAllAction, m_smartphoneExportAction, m_importAction,
         m_deleteInArchiveAction, m_deleteAllInArchiveAction, m_connectAction, m_readAction,
         m_deleteOnPhoneAction, m_aboutAction});
    // Whatever the controls were when it began, the read button follows the
    // phone again: it may have been unplugged while the command ran.
    connect(&m_busy, &qb::ui::BusyGuard::idle, this, &MainWindow::refreshConnectionStatus);
    connect(&m_busy, &qb::ui::BusyGuard::idle, this, &MainWindow::closeIfRequested,
            Qt::QueuedConnection);
}

void MainWindow::loadStartState() {
    m_shownFolder = -1;
    const bool listHasRows = m_messages->rowCount() > 0;
    m_exportSelectedButton->setEnabled(listHasRows);
    m_exportAllButton->setEnabled(listHasRows);
    m_colours->applyStoredColours();
    m_workspace.workDir = QDir::currentPath();
    reloadArchive();
    loadPhonebook();
    refreshConnectionStatus();
}

// --- Archive and captions

void MainWindow::reloadArchive() {
    m_viewer->clear();
    if (reportFailure(m_workspace.reloadArchive()))
        return;
    setArchiveCaptions();
}

void MainWindow::loadPhonebook() {
    reportFailure(m_workspace.loadPhonebook());
}

void MainWindow::setArchiveCaptions() {
    for (int i = 0; i < 3; ++i)
        m_folderTree->setCaption(qb::ArchiveInbox + i,
                                 qb::cp1251::toUnicode(m_workspace.archiveCaption(Kinds[i])));
}

void MainWindow::setPhoneCaptions() {
    for (int i = 0; i < 3; ++i)
        m_folderTree->setCaption(qb::PhoneInbox + i,
                                 qb::cp1251::toUnicode(m_workspace.phoneCaption(Kinds[i])));
}

// --- Commands (reading is in MainWindowPhone.cpp, deleting in MainWindowDelete.cpp,
// the archive's own commands in MainWindowArchive.cpp)

void MainWindow::showConnection() {
    if (isBusy())
        return;
    setMessagePanel(QString());
    refreshConnectionStatus();
}

// --- Closing

void MainWindow::closeEvent(QCloseEvent* event) {
    if (isBusy()) {
        // A long command still works on this window's state: close once it has ended.
        m_closeRequested = true;
        m_commands.cancel();
        event->ignore();
        return;
    }
    m_closeRequested = false;
    closePorts();
    event->accept(); // closing is never refused, only deferred
}

void MainWindow::closeIfRequested() {
    if (m_closeRequested && !isBusy())
        close();
}

// --- Window services for the commands

QTreeWidgetItem* MainWindow::node(int position) const {
    return m_folderTree->node(position);
}

qb::Progress& MainWindow::progress() {
    return *m_progress;
}

void MainWindow::setMessagePanel(const QString& text) {
    m_messagePanel->setText(text);
}

QString MainWindow::messagePanel() const {
    return m_messagePanel->text();
}

bool MainWindow::reportFailure(const qb::MaybeFailure& failure) {
    if (failure)
        showFailure(*failure);
    return failure.has_value();
}

void MainWindow::showFailure(const qb::Failure& failure) {
    QMessageBox::critical(this, qb::ui::ApplicationTitle, failure.text());
}
