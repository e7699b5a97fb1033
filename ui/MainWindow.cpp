#include "ui/MainWindow.h"

#include "controllers/Application.h"
#include "controllers/ArchiveController.h"
#include "controllers/PhoneController.h"
#include "controllers/PortChoice.h"
#include "controllers/ReadOnPlug.h"
#include "core/NativeDir.h"
#include "ui/AboutDialog.h"
#include "ui/ClickAndKeySignals.h"
#include "ui/ColourSettings.h"
#include "ui/CommandToolbar.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MainMenus.h"
#include "ui/MainStatusBar.h"
#include "ui/MessageListView.h"
#include "ui/MessageViewer.h"
#include "ui/PixelFont.h"
#include "ui/PortMenu.h"
#include "ui/StatusPanel.h"
#include "ui/TemplateEditor.h"
#include "ui/TitleStrip.h"
#include "ui/TrayPresence.h"
#include "ui/WorkArea.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QVBoxLayout>

using namespace qb;
using namespace qb::ui;

namespace {

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

QFileDialog* pdfDialog(const QString& workDir, QWidget* parent) {
    auto* dialog = new QFileDialog(parent, MainWindow::tr("Сохранить в PDF"), workDir);
    dialog->setObjectName(QStringLiteral("pdfDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(MainWindow::tr("Документ PDF (*.pdf)"));
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    return dialog;
}

// Letter where the desktop measures in inches, A4 elsewhere.
QPageSize::PageSizeId localPaper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                      : QPageSize::A4;
}

QFileDialog* folderDialog(const QString& workDir, QWidget* parent) {
    auto* dialog = new QFileDialog(parent, MainWindow::tr("Экспорт для смартфона"), workDir);
    dialog->setObjectName(QStringLiteral("smartphoneExportDialog"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    return dialog;
}

// Ctrl with A selects every row, whatever other modifier keys are held too.
QList<QKeySequence> selectAllKeys() {
    QList<QKeySequence> keys;
    for (const Qt::KeyboardModifiers others :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::AltModifier), Qt::KeyboardModifiers(Qt::MetaModifier),
          Qt::ShiftModifier | Qt::AltModifier, Qt::ShiftModifier | Qt::MetaModifier,
          Qt::AltModifier | Qt::MetaModifier,
          Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier})
        keys << QKeySequence(QKeyCombination(Qt::ControlModifier | others, Qt::Key_A));
    return keys;
}

} // namespace

MainWindow::MainWindow(Application& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    buildWindow();
    // Colours: the built-in ones now, the stored ones at once.
    m_colours = new ColourSettings(m_app.settings(), {m_folderTree, m_messageList, m_viewer},
                                   m_toolbar->backgroundColourPicker(),
                                   m_toolbar->textColourPicker(), this);
    m_tray = new TrayPresence(this);
    createDialogs();
    connectCommands();
    connectTreeAndList();
    connectProgram();
    connectSearch();
    followCommandState();
    m_colours->applyStoredColours();
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
    m_toolbar = new CommandToolbar({m_menus->connectAction, m_menus->readAction,
                                    m_menus->exportSelectedAction, m_menus->exportAllAction,
                                    m_menus->importAction},
                                   this);
    auto* area = new WorkArea(&m_app.list().model(), size(), this);
    m_workArea = area;
    m_folderTree = area->folderTree();
    m_messageList = area->messageList();
    m_messageList->setSelectionModel(&m_app.list().selection());
    m_viewer = area->viewer();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_titleStrip);
    column->addWidget(m_toolbar);
    column->addWidget(area, 1);
    setCentralWidget(central);
    // The status bar belongs to the window's frame, so it stays the bottom-most
    // band whatever the splitters do.
    m_statusBar = new MainStatusBar(this);
    setStatusBar(m_statusBar);
    // Esc, like the button beside the progress bar, stops a read or a
    // deletion on the phone while one runs.
    addAction(m_statusBar->cancelAction());
    buildListActions();

    m_commandActions = {
        {Command::Connect, m_menus->connectAction},
        {Command::Read, m_menus->readAction},
        {Command::ExportSelected, m_menus->exportSelectedAction},
        {Command::ExportAll, m_menus->exportAllAction},
        {Command::ExportForSmartphone, m_menus->smartphoneExportAction},
        {Command::Import, m_menus->importAction},
        {Command::DeleteInArchive, m_menus->deleteInArchiveAction},
        {Command::DeleteAllInArchive, m_menus->deleteAllInArchiveAction},
        {Command::DeleteOnPhone, m_menus->deleteOnPhoneAction},
        {Command::ChoosePort, m_menus->portMenu->menuAction()},
        {Command::DeleteSelected, m_deleteSelectedAction},
        {Command::CancelJob, m_statusBar->cancelAction()},
        {Command::About, m_menus->aboutAction},
        {Command::Search, m_menus->searchAction},
        {Command::EndSearch, m_endSearchAction},
        {Command::ShowConversation, m_menus->conversationAction},
        {Command::Print, m_menus->printAction},
        {Command::SavePdf, m_menus->savePdfAction},
    };
}

// The keys of the message list, while it has the focus.
void MainWindow::buildListActions() {
    m_deleteSelectedAction = new QAction(m_messageList);
    m_deleteSelectedAction->setObjectName(QStringLiteral("deleteSelectedAction"));
    m_deleteSelectedAction->setShortcut(Qt::Key_Delete);
    m_deleteSelectedAction->setShortcutContext(Qt::WidgetShortcut);
    m_messageList->addAction(m_deleteSelectedAction);
    m_selectAllAction = new QAction(m_messageList);
    m_selectAllAction->setObjectName(QStringLiteral("selectAllAction"));
    m_selectAllAction->setShortcuts(selectAllKeys());
    m_selectAllAction->setShortcutContext(Qt::WidgetShortcut);
    m_messageList->addAction(m_selectAllAction);
    // Esc leaves a search or a conversation, wherever the focus is; while a
    // job runs, Esc stops it instead (the command rests then).
    m_endSearchAction = new QAction(this);
    m_endSearchAction->setObjectName(QStringLiteral("endSearchAction"));
    m_endSearchAction->setShortcut(Qt::Key_Escape);
    addAction(m_endSearchAction);
    m_messageList->setContextMenuPolicy(Qt::CustomContextMenu);
}

void MainWindow::createDialogs() {
    const QString& workDir = m_app.workspace().workDir;
    auto* editor = new TemplateEditor(workDir, this);
    m_exportDialog = new ExportDialog(workDir, editor, m_app.exporter(), this);
    m_importDialog = importDialog(workDir, this);
    m_smartphoneDialog = folderDialog(workDir, this);
    m_pdfDialog = pdfDialog(workDir, this);
    m_about = new AboutDialog(this); // the last of the windows made at start-up
}

// --- Wiring

void MainWindow::connectCommands() {
    Application* app = &m_app;
    // Menu "Файл", with the toolbar's buttons on the same actions
    connect(m_menus->exportSelectedAction, &QAction::triggered, this,
            [this] { openExportDialog(ExportMode::Selected); });
    connect(m_menus->exportAllAction, &QAction::triggered, this,
            [this] { openExportDialog(ExportMode::All); });
    connect(m_menus->smartphoneExportAction, &QAction::triggered, m_smartphoneDialog,
            &QDialog::open);
    connect(m_smartphoneDialog, &QDialog::accepted, this, [this] {
        if (!m_smartphoneDialog->selectedFiles().isEmpty())
            m_app.exportForSmartphone(m_smartphoneDialog->selectedFiles().constFirst());
    });
    connect(m_menus->importAction, &QAction::triggered, this, [this] {
        m_app.beginImport();
        m_importDialog->open();
    });
    connect(m_importDialog, &QDialog::accepted, this, [this] {
        if (!m_importDialog->selectedFiles().isEmpty())
            m_app.importArchive(m_importDialog->selectedFiles().constFirst());
    });
    connect(m_menus->deleteInArchiveAction, &QAction::triggered, app,
            &Application::deleteSelectedInArchive);
    connect(m_menus->deleteAllInArchiveAction, &QAction::triggered, app,
            &Application::deleteAllInArchive);
    connect(m_menus->quitAction, &QAction::triggered, this, &QWidget::close);
    // Menu "Телефон"
    connect(m_menus->connectAction, &QAction::triggered, app, &Application::connectPhone);
    connect(m_menus->readAction, &QAction::triggered, app, &Application::readPhone);
    connect(m_menus->deleteOnPhoneAction, &QAction::triggered, app,
            &Application::deleteSelectedOnPhone);
    connect(m_menus->portMenu, &PortMenu::offerWanted, this, [this] {
        m_menus->portMenu->offer(m_app.portChoice().offered(), m_app.portChoice().chosenPort());
    });
    connect(m_menus->portMenu, &PortMenu::automaticChosen, app,
            &Application::choosePortAutomatically);
    connect(m_menus->portMenu, &PortMenu::portChosen, app, &Application::choosePort);
    // A setting rather than a command: it may be changed while a job runs.
    m_menus->readOnPlugAction->setChecked(m_app.readOnPlug().isEnabled());
    connect(m_menus->readOnPlugAction, &QAction::toggled, &m_app.readOnPlug(),
            &ReadOnPlug::setEnabled);
    connect(m_menus->aboutAction, &QAction::triggered, m_about, &QDialog::open);
    // Keys
    connect(m_deleteSelectedAction, &QAction::triggered, app, &Application::deleteSelected);
    connect(m_selectAllAction, &QAction::triggered, &m_app.list(), &ListController::selectAll);
    connect(m_statusBar->cancelAction(), &QAction::triggered, app, &Application::cancelJob);
    // The one command state
    connect(&m_app.commands(), &CommandState::commandsChanged, this,
            &MainWindow::followCommandState);
    connect(&m_app.commands(), &CommandState::progressChanged, m_statusBar,
            &MainStatusBar::showProgress);
}

void MainWindow::connectTreeAndList() {
    ListController* list = &m_app.list();
    // The tree: a click, or the release of an arrow key, lists the selected node.
    connect(m_folderTree, &QTreeWidget::itemSelectionChanged, list,
            [this] { m_app.list().setSelectedNode(m_folderTree->selectedNode()); });
    ClickAndKeySignals* tree = ClickAndKeySignals::watch(m_folderTree);
    connect(tree, &ClickAndKeySignals::clicked, &m_app, &Application::showSelectedFolder);
    connect(tree, &ClickAndKeySignals::keyReleased, this, &MainWindow::showFolderOnArrowKey);
    // The list and the viewer
    ClickAndKeySignals* rows = ClickAndKeySignals::watch(m_messageList);
    connect(rows, &ClickAndKeySignals::clicked, list, &ListController::clicked);
    connect(rows, &ClickAndKeySignals::keyReleased, list, &ListController::keyReleased);
    connect(m_messageList->horizontalHeader(), &QHeaderView::sectionClicked, list,
            &ListController::sortByColumn);
    connect(list, &ListController::viewerTextChanged, m_viewer, &MessageViewer::setMessageText);
    connect(list, &ListController::repaintNeeded, m_messageList->viewport(),
            qOverload<>(&QWidget::update));
}

void MainWindow::connectProgram() {
    // The phone
    connect(&m_app.phone(), &PhoneController::connectionChanged, this,
            &MainWindow::showConnectionState);
    connect(&m_app.phone(), &PhoneController::readEnded, this, &MainWindow::expandPhoneNode);
    connect(&m_app, &Application::phoneCaptionsChanged, this, &MainWindow::setPhoneCaptions);
    connect(&m_app, &Application::readNoticed, this, &MainWindow::showReadNotice);
    // The archive
    connect(&m_app.archive(), &ArchiveController::archiveCaptionsChanged, this,
            &MainWindow::setArchiveCaptions);
    // The message panel: what the commands say, and the toolbar's hover texts
    connect(&m_app, &Application::noted, this, &MainWindow::setMessagePanel);
    connect(m_toolbar, &CommandToolbar::titleHint, m_titleStrip, &TitleStrip::setTitle);
    connect(m_toolbar, &CommandToolbar::panelHint, this, &MainWindow::setMessagePanel);
    // Closing waits for the job it cancelled.
    connect(&m_app, &Application::readyToQuit, this, &QWidget::close);
}

void MainWindow::followCommandState() {
    const CommandState& commands = m_app.commands();
    for (const auto& [command, action] : m_commandActions)
        action->setEnabled(commands.isEnabled(command));
    m_statusBar->setCancellable(commands.isEnabled(Command::CancelJob));
    m_messageList->horizontalHeader()->setSectionsClickable(commands.isEnabled(Command::SortList));
}

void MainWindow::connectSearch() {
    QLineEdit* field = m_toolbar->searchField();
    connect(m_menus->searchAction, &QAction::triggered, field, [field] {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
    connect(field, &QLineEdit::textEdited, &m_app, &Application::searchFor);
    // The clear button empties the field without an edit.
    connect(field, &QLineEdit::textChanged, &m_app, [this](const QString& text) {
        if (text.isEmpty())
            m_app.searchFor(text);
    });
    connect(&m_app, &Application::searchFieldCleared, field, &QLineEdit::clear);
    connect(m_endSearchAction, &QAction::triggered, &m_app, &Application::endSearch);
    connect(m_menus->conversationAction, &QAction::triggered, &m_app,
            &Application::showConversation);
    connect(m_messageList, &QWidget::customContextMenuRequested, this, &MainWindow::showListMenu);
    connect(&m_app.list(), &ListController::matchesChanged, m_viewer, &MessageViewer::highlight);
    connect(&m_app.list(), &ListController::chatChanged, m_workArea, &WorkArea::showChat);
    connect(m_menus->printAction, &QAction::triggered, this, &MainWindow::openPrintDialog);
    connect(m_menus->savePdfAction, &QAction::triggered, this, &MainWindow::openPdfDialog);
    connect(m_pdfDialog, &QDialog::accepted, this, [this] {
        if (!m_pdfDialog->selectedFiles().isEmpty())
            m_app.savePdf(m_pdfDialog->selectedFiles().constFirst(), localPaper());
    });
}

void MainWindow::showListMenu(const QPoint& at) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(m_menus->conversationAction);
    menu->addSeparator();
    menu->addAction(m_menus->exportSelectedAction);
    menu->addAction(m_menus->printAction);
    menu->addAction(m_menus->savePdfAction);
    menu->popup(m_messageList->viewport()->mapToGlobal(at));
}

void MainWindow::openPrintDialog() {
    // The dialog sets the printer up; the print job then takes it over.
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(localPaper()));
    printer->setDocName(tr("Сообщения"));
    auto* dialog = new QPrintDialog(printer, this);
    connect(dialog, &QDialog::finished, this, [this, dialog, printer](int result) {
        // Once the dialog is gone, nothing but the job touches the printer.
        QMetaObject::invokeMethod(
            this,
            [this, dialog, printer, result] {
                delete dialog;
                std::unique_ptr<QPrinter> owned(printer);
                if (result == QDialog::Accepted)
                    m_app.print(std::move(owned));
            },
            Qt::QueuedConnection);
    });
    dialog->open();
}

void MainWindow::openPdfDialog() {
    m_pdfDialog->open();
}

// --- Drawing what the program reports

void MainWindow::showConnectionState(bool connected, const QString& phoneCaption) {
    StatusPanel* status = m_statusBar->statusPanel();
    const ConnectionCaption caption = connectionCaption(connected, m_app.portChoice().chosenPort());
    status->setText(QLatin1Char(' ') + caption.status);
    status->setToolTip(caption.hint);
    status->setIcon(connected ? Icon::Connected : Icon::Disconnected);
    if (connected)
        m_folderTree->setCaption(TreeNode::Phone, phoneCaption);
}

void MainWindow::setArchiveCaptions(const QStringList& captions) {
    const FolderKind kinds[] = {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft};
    for (int i = 0; i < 3 && i < captions.size(); ++i)
        m_folderTree->setCaption(archiveFolderNode(kinds[i]), captions[i]);
}

void MainWindow::setPhoneCaptions(const QStringList& captions) {
    const FolderKind kinds[] = {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft};
    for (int i = 0; i < 3 && i < captions.size(); ++i)
        m_folderTree->setCaption(phoneFolderNode(kinds[i]), captions[i]);
}

void MainWindow::expandPhoneNode() {
    QTreeWidgetItem* phone = m_folderTree->node(TreeNode::Phone);
    m_folderTree->expandItem(phone);
    for (int i = 0; i < phone->childCount(); ++i)
        m_folderTree->expandItem(phone->child(i));
}

void MainWindow::showFolderOnArrowKey(QKeyEvent* event) {
    // Holding an arrow key down repeats press and release; only the last release counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        m_app.showSelectedFolder();
}

void MainWindow::openExportDialog(ExportMode mode) {
    std::optional<ExportSource> source = m_app.beginExport(mode);
    if (!source)
        return;
    m_exportDialog->prepare(mode, std::move(*source));
    m_exportDialog->open();
}

void MainWindow::setMessagePanel(const QString& text) {
    m_statusBar->setMessage(withRealFolderNames(text));
}

// A read the plugging started: told by the notification area, where it is
// seen with the window hidden, and in the message panel for when it is shown.
void MainWindow::showReadNotice(const ReadNotice& notice) {
    m_tray->notify(notice.title, withRealFolderNames(notice.text), notice.failed);
    setMessagePanel(notice.text);
}

// --- Closing

void MainWindow::closeEvent(QCloseEvent* event) {
    // A job still at work is cancelled first; the window closes once it has ended.
    if (m_app.requestQuit())
        event->accept();
    else
        event->ignore();
}
