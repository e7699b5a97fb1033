#include "ui/MainWindow.h"

#include "controllers/ArchiveController.h"
#include "controllers/ExportController.h"
#include "controllers/PhoneController.h"
#include "core/Cp1251.h"
#include "core/NativeDir.h"
#include "models/ColumnSorter.h"
#include "models/FolderCaptions.h"
#include "models/ListFill.h"
#include "models/MessageListModel.h"
#include "models/SettingsStore.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "ui/AboutDialog.h"
#include "ui/ClickAndKeySignals.h"
#include "ui/ColourSettings.h"
#include "ui/CommandToolbar.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MainMenus.h"
#include "ui/MainStatusBar.h"
#include "ui/MessageBoxes.h"
#include "ui/MessageListView.h"
#include "ui/MessageViewer.h"
#include "ui/PixelFont.h"
#include "ui/StatusPanel.h"
#include "ui/TemplateEditor.h"
#include "ui/TitleStrip.h"
#include "ui/TrayPresence.h"
#include "ui/WorkArea.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <numeric>

using namespace qb;
using namespace qb::ui;

namespace {

// The cells as the view shows them, so a sorted list exports in its shown order.
std::vector<ExportRow> exportRows(const QAbstractItemModel& list, const std::vector<int>& rows) {
    static constexpr int Columns[] = {MessageListModel::FromColumn, MessageListModel::DateColumn,
                                      MessageListModel::SizeColumn, MessageListModel::IndexColumn,
                                      MessageListModel::TextColumn};
    std::vector<ExportRow> result;
    result.reserve(rows.size());
    for (const int row : rows) {
        ExportRow exported;
        exported.position = row;
        for (std::size_t p = 0; p < PlaceholderCount; ++p)
            exported.values[p] = cp1251::fromUnicode(list.index(row, Columns[p]).data().toString());
        result.push_back(std::move(exported));
    }
    return result;
}

QFileDialog* importDialog(const QString& workDir, QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QString(), workDir);
    dialog->setObjectName(QStringLiteral("importDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(MainWindow::tr("Архив P2kTools (*.txt)"));
    dialog->setOption(QFileDialog::HideNameFilterDetails); // shows "Архив P2kTools"
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    return dialog;
}

QFileDialog* folderDialog(const QString& workDir, QWidget* parent) {
    auto* dialog = new QFileDialog(parent, MainWindow::tr("Экспорт для смартфона"), workDir);
    dialog->setObjectName(QStringLiteral("smartphoneExportDialog"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    return dialog;
}

} // namespace

MainWindow::MainWindow(const QString& workDir, UserDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs ? *dialogs : *this),
      m_settings(std::make_unique<SettingsStore>()) {
    m_workspace.workDir = workDir;
    buildWindow();
    m_sorter = std::make_unique<ColumnSorter>(*m_messages, *m_settings);
    m_archive = new ArchiveController(m_workspace, m_commands, m_dialogs, this);
    m_exporter = new ExportController(m_workspace, m_commands, m_dialogs, this);
    m_watcher = new PhoneWatcher(this);
    m_phone = new PhoneController(m_workspace, *m_watcher, m_commands, m_dialogs, this);
    // Colours: the built-in ones now, the stored ones at start-up.
    m_colours = new ColourSettings(*m_settings, {m_folderTree, m_messageList, m_viewer},
                                   m_toolbar->backgroundColourPicker(),
                                   m_toolbar->textColourPicker(), this);
    new TrayPresence(this);
    connectControls();
    connectCommands();
    updateCommandControls();
    m_connectionTimer->start();
    loadStartState();
    createDialogs();
}

MainWindow::~MainWindow() = default;

// --- Construction

void MainWindow::buildWindow() {
    setWindowTitle(QStringLiteral("Quillbox"));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    resize(870, 640);
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    m_menus = std::make_unique<MainMenus>(*this);
    m_titleStrip = new TitleStrip(this);
    m_toolbar = new CommandToolbar(this);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_titleStrip);
    column->addWidget(m_toolbar);
    column->addWidget(buildWorkArea(), 1);
    setCentralWidget(central);
    // The status bar belongs to the window's frame, so it stays the bottom-most
    // band whatever the splitters do.
    m_statusBar = new MainStatusBar(this);
    setStatusBar(m_statusBar);

    m_connectionTimer = new QTimer(this);
    m_connectionTimer->setObjectName(QStringLiteral("connectionTimer"));
    m_connectionTimer->setInterval(500);

    // Esc, like the button beside the progress bar, stops a read or a
    // deletion on the phone while one runs.
    m_cancelPhoneAction = new QAction(this);
    m_cancelPhoneAction->setObjectName(QStringLiteral("cancelPhoneAction"));
    m_cancelPhoneAction->setShortcut(Qt::Key_Escape);
    m_cancelPhoneAction->setEnabled(false);
    addAction(m_cancelPhoneAction);
}

QWidget* MainWindow::buildWorkArea() {
    m_messages = new MessageListModel(this);
    auto* area = new WorkArea(m_messages, size(), this);
    m_folderTree = area->folderTree();
    m_messageList = area->messageList();
    m_viewer = area->viewer();
    // The Delete key deletes the selected messages of the listed folder, after
    // asking; as a command it rests while a job runs.
    m_deleteKeyAction = new QAction(m_messageList);
    return area;
}

void MainWindow::createDialogs() {
    // Written when missing, once the working directory is known; a failure
    // leaves the program without a template until the editor saves one.
    if (const MaybeFailure failure = ensureDefaultTemplate(m_workspace.workDir))
        m_dialogs.fail(failure->text());
    auto* editor = new TemplateEditor(m_workspace.workDir, this);
    m_exportDialog = new ExportDialog(m_workspace.workDir, editor, *m_exporter, this);
    m_importDialog = importDialog(m_workspace.workDir, this);
    connect(m_importDialog, &QDialog::accepted, this, [this] {
        if (!m_importDialog->selectedFiles().isEmpty())
            m_archive->importArchive(m_importDialog->selectedFiles().constFirst());
    });
    m_smartphoneDialog = folderDialog(m_workspace.workDir, this);
    connect(m_smartphoneDialog, &QDialog::accepted, this, [this] {
        if (!m_smartphoneDialog->selectedFiles().isEmpty())
            m_exporter->exportForSmartphone(m_smartphoneDialog->selectedFiles().constFirst());
    });
    m_about = new AboutDialog(this); // the last of the windows made at start-up
}

void MainWindow::connectControls() {
    // Toolbar
    connect(m_toolbar->readButton(), &QToolButton::clicked, this, &MainWindow::readPhone);
    connect(m_toolbar->connectButton(), &QToolButton::clicked, this, &MainWindow::showConnection);
    connect(m_toolbar->importButton(), &QToolButton::clicked, this, &MainWindow::importArchive);
    connect(m_toolbar->exportSelectedButton(), &QToolButton::clicked, this,
            &MainWindow::exportSelected);
    connect(m_toolbar->exportAllButton(), &QToolButton::clicked, this, &MainWindow::exportAll);
    connect(m_toolbar, &CommandToolbar::titleHint, m_titleStrip, &TitleStrip::setTitle);
    connect(m_toolbar, &CommandToolbar::panelHint, this, &MainWindow::setMessagePanel);
    // Menu "Файл"
    connect(m_menus->exportSelectedAction, &QAction::triggered, this, &MainWindow::exportSelected);
    connect(m_menus->exportAllAction, &QAction::triggered, this, &MainWindow::exportAll);
    connect(m_menus->smartphoneExportAction, &QAction::triggered, this,
            &MainWindow::exportForSmartphone);
    connect(m_menus->importAction, &QAction::triggered, this, &MainWindow::importArchive);
    connect(m_menus->deleteInArchiveAction, &QAction::triggered, this,
            &MainWindow::deleteSelectedInArchive);
    connect(m_menus->deleteAllInArchiveAction, &QAction::triggered, this,
            &MainWindow::deleteAllInArchive);
    connect(m_menus->quitAction, &QAction::triggered, this, &MainWindow::close);
    // Menu "Телефон" and "О Программе"
    connect(m_menus->connectAction, &QAction::triggered, this, &MainWindow::showConnection);
    connect(m_menus->readAction, &QAction::triggered, this, &MainWindow::readPhone);
    connect(m_menus->deleteOnPhoneAction, &QAction::triggered, this,
            &MainWindow::deleteSelectedOnPhone);
    connect(m_menus->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    // Folder tree
    auto* tree = ClickAndKeySignals::watch(m_folderTree);
    connect(tree, &ClickAndKeySignals::clicked, this, &MainWindow::showSelectedFolder);
    connect(tree, &ClickAndKeySignals::keyReleased, this, &MainWindow::showFolderOnArrowKey);
    // Message list
    auto* list = ClickAndKeySignals::watch(m_messageList);
    connect(list, &ClickAndKeySignals::clicked, this, &MainWindow::showClickedRow);
    connect(list, &ClickAndKeySignals::keyPressed, this, &MainWindow::handleListKey);
    connect(list, &ClickAndKeySignals::keyReleased, this, &MainWindow::followKeyboardSelection);
    connect(m_messageList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::followSelection);
    connect(m_messageList->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &MainWindow::sortByColumn);
    connect(m_deleteKeyAction, &QAction::triggered, this, &MainWindow::askAndDeleteSelected);
    // Connection status
    connect(m_connectionTimer, &QTimer::timeout, this, &MainWindow::refreshConnectionStatus);
}

void MainWindow::connectCommands() {
    // The one command state: controls, progress bar, deferred close and refill
    connect(&m_commands, &CommandState::busyChanged, this, &MainWindow::commandStateChanged);
    connect(&m_commands, &CommandState::progressChanged, m_statusBar, &MainStatusBar::showProgress);
    // Archive
    connect(m_archive, &ArchiveController::archiveReloaded, m_viewer, &MessageViewer::clear);
    connect(m_archive, &ArchiveController::archiveCaptionsChanged, this,
            &MainWindow::setArchiveCaptions);
    connect(m_archive, &ArchiveController::recordsDeleted, this,
            [this](FolderKind, const std::vector<int>& records) { removeListedRecords(records); });
    connect(m_archive, &ArchiveController::archiveReplaced, this,
            [this] { refreshShownFolder(isArchiveFolder); });
    connect(m_archive, &ArchiveController::noted, this, &MainWindow::setMessagePanel);
    // Export for a smartphone
    connect(m_exporter, &ExportController::smartphoneExported, this, &MainWindow::setMessagePanel);
    // Phone
    connect(m_phone, &PhoneController::connectionChanged, this, &MainWindow::showConnectionState);
    connect(m_phone, &PhoneController::readEnded, this, &MainWindow::expandPhoneNode);
    connect(m_phone, &PhoneController::phoneCaptionsChanged, this, &MainWindow::setPhoneCaptions);
    connect(m_phone, &PhoneController::archiveChanged, m_archive,
            &ArchiveController::reloadArchive);
    connect(m_phone, &PhoneController::phoneFolderChanged, this,
            [this] { refreshShownFolder(isPhoneFolder); });
    connect(m_phone, &PhoneController::deletedOnPhone, this,
            [this](FolderKind, const std::vector<int>& records) { removeListedRecords(records); });
    connect(m_phone, &PhoneController::note, this, &MainWindow::setMessagePanel);
    connect(m_phone, &PhoneController::phoneCommandRunning, this, [this](bool running) {
        m_statusBar->setCancellable(running);
        m_cancelPhoneAction->setEnabled(running);
    });
    connect(m_statusBar->cancelButton(), &QToolButton::clicked, m_phone,
            &PhoneController::cancelPhoneCommand);
    connect(m_cancelPhoneAction, &QAction::triggered, m_phone,
            &PhoneController::cancelPhoneCommand);
}

void MainWindow::loadStartState() {
    m_colours->applyStoredColours();
    // Read off the window's thread; the window shows itself busy meanwhile.
    m_archive->reloadArchive();
    refreshConnectionStatus();
}

// --- The one command state

void MainWindow::updateCommandControls() {
    const bool idle = !m_commands.isBusy();
    for (QAction* action :
         {m_menus->exportSelectedAction, m_menus->exportAllAction, m_menus->smartphoneExportAction,
          m_menus->importAction, m_menus->deleteInArchiveAction, m_menus->deleteAllInArchiveAction,
          m_menus->connectAction, m_menus->readAction, m_menus->deleteOnPhoneAction,
          m_menus->aboutAction, m_deleteKeyAction})
        action->setEnabled(idle);
    m_toolbar->connectButton()->setEnabled(idle);
    m_toolbar->importButton()->setEnabled(idle);
    m_toolbar->readButton()->setEnabled(idle && m_connected);
    m_toolbar->exportSelectedButton()->setEnabled(idle && m_selectionExportable);
    m_toolbar->exportAllButton()->setEnabled(idle && m_listExportable);
    // A list being filled is not reordered under the fill.
    m_messageList->horizontalHeader()->setSectionsClickable(idle);
}

void MainWindow::commandStateChanged(bool busy) {
    updateCommandControls();
    if (busy)
        return;
    if (m_closeWhenIdle) {
        QTimer::singleShot(0, this, [this] { close(); });
    } else if (std::exchange(m_refillWhenIdle, false)) {
        fillList();
    }
}

// --- Folder tree and message list

QTreeWidgetItem* MainWindow::node(TreeNode node) const {
    return m_folderTree->node(node);
}

void MainWindow::showSelectedFolder() {
    const std::optional<TreeNode> selected = m_folderTree->selectedNode();
    if (selected && selected != m_shownFolder)
        showFolder(*selected);
}

void MainWindow::showFolder(TreeNode node) {
    m_shownFolder = node;
    fillList();
}

void MainWindow::showFolderOnArrowKey(QKeyEvent* event) {
    // Holding an arrow key down repeats press and release; only the last release counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        showSelectedFolder();
}

void MainWindow::fillList() {
    if (m_commands.isBusy()) {
        // The folder chosen last is listed once the running job has ended; a
        // fill in progress gives way to it at once.
        m_refillWhenIdle = true;
        if (qobject_cast<ListFill*>(m_commands.runningJob()))
            m_commands.cancel();
        return;
    }
    // With no node selected the list is only emptied, as for a group node.
    auto* fill = new ListFill(*m_messages, m_workspace,
                              m_folderTree->selectedNode().value_or(TreeNode::Phone));
    fill->setSliceMilliseconds(m_fillSliceMs);
    m_commands.run(fill, [this](Job& done) { fillDone(static_cast<ListFill&>(done)); });
}

void MainWindow::fillDone(ListFill& fill) {
    if (fill.cancelled())
        return; // the next fill follows
    followSelection();
    m_viewer->clear();
    m_listExportable = isFolder(fill.node()) && m_messages->rowCount() > 0;
    if (fill.failure()) {
        m_dialogs.fail(fill.failure()->text());
        return;
    }
    if (const MaybeFailure failure = m_sorter->restoreColumnSort())
        m_dialogs.fail(failure->text());
}

void MainWindow::followSelection() {
    const std::vector<int> rows = m_messageList->selectedRows();
    m_selectionExportable = !rows.empty();
    updateCommandControls();
    m_messages->setShadedSender(rows.size() == 1 ? std::optional(m_messages->row(rows.front()).from)
                                                 : std::nullopt);
    if (rows.empty())
        m_viewer->clear();
    else if (rows.size() == 1)
        showRowText(rows.front());
}

void MainWindow::showClickedRow() {
    const std::vector<int> rows = m_messageList->selectedRows();
    m_selectionExportable = !rows.empty();
    updateCommandControls();
    if (rows.empty()) {
        m_viewer->clear();
        return;
    }
    followSender(rows.front());
    showRowText(rows.front());
}

// The shading follows a selection moved with the keyboard.
void MainWindow::followKeyboardSelection() {
    const std::vector<int> rows = m_messageList->selectedRows();
    if (!rows.empty())
        followSender(rows.front());
}

void MainWindow::followSender(int row) {
    const QString& from = m_messages->row(row).from;
    if (!m_lastSender.isEmpty() && from == m_lastSender)
        return;
    m_lastSender = from;
    m_messageList->viewport()->update();
}

void MainWindow::showRowText(int row) {
    m_viewer->setMessageText(m_messages->row(row).text);
}

void MainWindow::sortByColumn(int column) {
    if (const MaybeFailure failure = m_sorter->sortByColumn(column))
        m_dialogs.fail(failure->text());
}

void MainWindow::setArchiveCaptions(const QStringList& captions) {
    const FolderKind kinds[] = {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft};
    for (int i = 0; i < 3 && i < captions.size(); ++i)
        m_folderTree->setCaption(archiveFolderNode(kinds[i]), captions[i]);
}

void MainWindow::setPhoneCaptions() {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        m_folderTree->setCaption(phoneFolderNode(kind),
                                 folderCaption(kind, m_workspace.phoneCount(kind)));
}

void MainWindow::removeListedRecords(const std::vector<int>& records) {
    m_messages->removeRecords(records);
    m_viewer->clear();
}

void MainWindow::reloadArchive() {
    m_archive->reloadArchive();
}

// --- Deleting

void MainWindow::handleListKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_A && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        m_messageList->selectAll();
    } else if (event->key() == Qt::Key_Delete) {
        event->accept();
        m_deleteKeyAction->trigger(); // does nothing while the command rests
    }
}

void MainWindow::askAndDeleteSelected() {
    m_dialogs.ask(tr("Вы действительно хотите удалить сообщения?"), [this](bool yes) {
        const std::optional<TreeNode> target = yes ? deletionTarget() : std::nullopt;
        if (target && isPhoneFolder(*target))
            deleteRowsOnPhone(folderKindOfNode(*target));
        else if (target && isArchiveFolder(*target))
            deleteRowsInArchive(folderKindOfNode(*target));
    });
}

// The rows carry record numbers of the folder the list shows, and the user
// chose them there: when the tree's selection has moved away without a refill
// (keys other than the arrows move it), they are still that folder's rows.
std::optional<TreeNode> MainWindow::deletionTarget() const {
    return m_shownFolder;
}

// Файл ▸ "Удалить сообщение": only on the archive folder the list shows.
void MainWindow::deleteSelectedInArchive() {
    if (const std::optional<TreeNode> target = deletionTarget(); target && isArchiveFolder(*target))
        deleteRowsInArchive(folderKindOfNode(*target));
}

void MainWindow::deleteRowsInArchive(FolderKind folder) {
    std::vector<int> records;
    for (const int row : m_messageList->selectedRows())
        records.push_back(m_messages->row(row).record);
    m_archive->deleteRecords(folder, records);
}

// Файл ▸ "Удалить все сообщения": asks nothing, the files go to the trash.
void MainWindow::deleteAllInArchive() {
    m_archive->deleteAll();
}

void MainWindow::deleteSelectedOnPhone() {
    if (const std::optional<TreeNode> target = deletionTarget(); target && isPhoneFolder(*target))
        deleteRowsOnPhone(folderKindOfNode(*target));
}

void MainWindow::deleteRowsOnPhone(FolderKind folder) {
    std::vector<DeleteRow> rows;
    for (const int row : m_messageList->selectedRows()) {
        const MessageRow& shown = m_messages->row(row);
        rows.push_back({shown.record, cp1251::fromUnicode(shown.index)});
    }
    m_phone->deleteOnPhone(folder, rows);
}

// --- Import and export

void MainWindow::importArchive() {
    setMessagePanel(QString());
    m_importDialog->open();
}

bool MainWindow::folderNodeSelected() const {
    const std::optional<TreeNode> selected = m_folderTree->selectedNode();
    return selected && isFolder(*selected);
}

// The menu items act only while their toolbar buttons would.
void MainWindow::exportSelected() {
    if (!m_toolbar->exportSelectedButton()->isEnabled())
        return;
    setMessagePanel(QString());
    std::vector<int> rows = m_messageList->selectedRows();
    if (folderNodeSelected() && !rows.empty())
        openExportDialog(ExportMode::Selected, std::move(rows));
}

void MainWindow::exportAll() {
    if (!m_toolbar->exportAllButton()->isEnabled())
        return;
    setMessagePanel(QString());
    std::vector<int> rows(static_cast<std::size_t>(m_messages->rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    if (folderNodeSelected() && !rows.empty())
        openExportDialog(ExportMode::All, std::move(rows));
}

void MainWindow::openExportDialog(ExportMode mode, std::vector<int> rows) {
    const int count = static_cast<int>(rows.size());
    // The dialog is modal: the list cannot change before the rows are read.
    m_exportDialog->prepare(mode, {m_messages->rowCount(), count, [this, rows = std::move(rows)] {
                                       return exportRows(*m_messageList->model(), rows);
                                   }});
    m_exportDialog->open();
}

void MainWindow::exportForSmartphone() {
    m_smartphoneDialog->open();
}

void MainWindow::showAbout() {
    m_about->open();
}

// --- Phone (the phone's commands themselves are in PhoneController)

PhonePort* MainWindow::activePort() const {
    return m_phone->activePort();
}

void MainWindow::setDeletionPort(AtPort* port) {
    m_phone->setDeletionPort(port);
}

void MainWindow::refreshConnectionStatus() {
    m_phone->refreshConnection();
}

void MainWindow::showConnection() {
    setMessagePanel(QString());
    refreshConnectionStatus();
}

void MainWindow::readPhone() {
    // The menu item acts only while the toolbar button would.
    if (!m_toolbar->readButton()->isEnabled())
        return;
    setMessagePanel(QString());
    m_phone->readPhone();
}

void MainWindow::showConnectionState(bool connected, const QString& phoneCaption) {
    m_connected = connected;
    updateCommandControls();
    StatusPanel* status = m_statusBar->statusPanel();
    status->setText(QLatin1Char(' ') +
                    (connected ? tr("Состояние: Подключен") : tr("Состояние: Отключен")));
    status->setIcon(connected ? Icon::Connected : Icon::Disconnected);
    if (connected)
        m_folderTree->setCaption(TreeNode::Phone, phoneCaption);
}

void MainWindow::expandPhoneNode() {
    QTreeWidgetItem* phone = node(TreeNode::Phone);
    m_folderTree->expandItem(phone);
    for (int i = 0; i < phone->childCount(); ++i)
        m_folderTree->expandItem(phone->child(i));
}

// Rows carry positions of the read or the folder file that filled them. After
// a new read, a wipe or an import those positions name other messages, and
// deleting from such rows would remove the wrong ones: the shown folder of
// that kind is listed afresh, or forgotten when the tree has moved off it.
void MainWindow::refreshShownFolder(bool (*ofKind)(TreeNode)) {
    if (!m_shownFolder || !ofKind(*m_shownFolder))
        return;
    if (m_folderTree->selectedNode() == m_shownFolder) {
        fillList();
        return;
    }
    m_shownFolder.reset();
    m_messages->clear();
    m_viewer->clear();
    m_selectionExportable = false;
    m_listExportable = false;
    updateCommandControls();
}

// --- Status bar and message boxes

void MainWindow::setMessagePanel(const QString& text) {
    m_statusBar->setMessage(withRealFolderNames(text));
}

QString MainWindow::messagePanel() const {
    return m_statusBar->message();
}

// A box goes over the window's own modal dialog when one is up (the export
// dialog), where the user is looking and where it is not blocked.
QWidget* MainWindow::modalParent() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && isAncestorOf(modal) ? modal : this;
}

void MainWindow::inform(const QString& text) {
    openMessageBox(modalParent(), QMessageBox::Information, text);
}

void MainWindow::tell(const QString& text) {
    openMessageBox(modalParent(), QMessageBox::NoIcon, text);
}

void MainWindow::fail(const QString& text) {
    openMessageBox(modalParent(), QMessageBox::Critical, text);
}

void MainWindow::ask(const QString& question, std::function<void(bool)> answered) {
    openMessageBox(modalParent(), QMessageBox::Question, question,
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                   [answered = std::move(answered)](QMessageBox::StandardButton button) {
                       answered(button == QMessageBox::Yes);
                   });
}

// --- Closing

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_commands.isBusy()) {
        // The job still works on this window's state: it is cancelled, and the
        // window closes once it has ended.
        m_closeWhenIdle = true;
        m_commands.cancel();
        event->ignore();
        return;
    }
    m_closeWhenIdle = false;
    m_phone->closePorts();
    event->accept();
}
