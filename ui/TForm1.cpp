#include "ui/TForm1.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "ui/ApplicationTitle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/ImageList.h"
#include "ui/ControlEvents.h"
#include "ui/MessageListModel.h"
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
const QColor clLime(0, 255, 0);

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(500);
    createDeviceWatcher();
    buildWindow();
    m_progress = std::make_unique<qb::ui::StatusProgress>(suiProgressBar1);
    connectControls();
    Timer2->start();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::connectControls() {
    // Toolbar
    connect(suiButton1, &QToolButton::clicked, this, &TForm1::suiButton1Click);
    connect(suiButton2, &QToolButton::clicked, this, &TForm1::suiButton2Click);
    connect(suiButton3, &QToolButton::clicked, this, &TForm1::suiButton3Click);
    connect(suiButton5, &QToolButton::clicked, this, &TForm1::suiButton5Click);
    connect(suiButton6, &QToolButton::clicked, this, &TForm1::suiButton6Click);
    // Menu "Файл"
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(N5, &QAction::triggered, this, &TForm1::suiButton3Click);
    connect(N6, &QAction::triggered, this, &TForm1::N6Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(N9, &QAction::triggered, this, &TForm1::close);
    // Menu "Телефон" and "О Программе"
    connect(N11, &QAction::triggered, this, &TForm1::suiButton2Click);
    connect(N13, &QAction::triggered, this, &TForm1::N13Click);
    connect(N14, &QAction::triggered, this, &TForm1::N14Click);
    connect(N15, &QAction::triggered, this, &TForm1::N15Click);
    // Status
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    // Folder tree, message list and viewer
    auto* treeEvents = qb::ui::ControlEvents::watch(SMS);
    auto* listEvents = qb::ui::ControlEvents::watch(List1);
    connect(treeEvents, &qb::ui::ControlEvents::clicked, this, &TForm1::SMSClick);
    connect(treeEvents, &qb::ui::ControlEvents::keyReleased, this, &TForm1::SMSKeyUp);
    connect(listEvents, &qb::ui::ControlEvents::clicked, this, &TForm1::List1Click);
    connect(listEvents, &qb::ui::ControlEvents::keyPressed, this, &TForm1::List1KeyDown);
    connect(listEvents, &qb::ui::ControlEvents::keyReleased, this, &TForm1::List1KeyUp);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TForm1::List1SelectItem);
    // Busy guard: the command controls rest while a long command runs; a close
    // asked for meanwhile happens once it has ended.
    m_busy.setCommandControls({suiButton1, suiButton2, suiButton3, suiButton5, suiButton6},
                              {N2, N3, N5, N6, N7, N11, N13, N14, N15});
    connect(&m_busy, &qb::ui::BusyGuard::idle, this, &TForm1::closeIfRequested,
            Qt::QueuedConnection);
}

void TForm1::FormCreate() {
    ShownFolder = -1;
    const bool listHasRows = m_messages->rowCount() > 0;
    suiButton5->setEnabled(listHasRows);
    suiButton6->setEnabled(listHasRows);
    applyColours(clLime, QColor());
    WorkDir = QDir::currentPath();
    ReloadArchive();
    LoadPhonebook();
    RefreshConnectionStatus();
}

void TForm1::applyColours(const QColor& background, const QColor& text) {
    for (QWidget* target : {static_cast<QWidget*>(SMS), static_cast<QWidget*>(List1),
                            static_cast<QWidget*>(suiMemo1)}) {
        QPalette colours = target->palette();
        if (background.isValid())
            colours.setColor(QPalette::Base, background);
        if (text.isValid())
            colours.setColor(QPalette::Text, text);
        else if (target == suiMemo1)
            colours.setColor(QPalette::Text, Qt::black);
        target->setPalette(colours);
    }
}

// --- Archive and captions

void TForm1::ReloadArchive() {
    suiMemo1->clear();
    if (reportFailure(qb::reloadArchive(WorkDir, archive)))
        return;
    SetArchiveCaptions();
}

void TForm1::LoadPhonebook() {
    reportFailure(qb::loadPhonebook(WorkDir, phonebook));
}

void TForm1::SetArchiveCaptions() {
    for (int i = 0; i < 3; ++i) {
        const qb::FolderKind kind = Kinds[i];
        SMS->setCaption(qb::ArchiveInbox + i, qb::cp1251::toUnicode(qb::folderCaption(
                                                  kind, archive.folder(kind).count())));
    }
}

void TForm1::SetPhoneCaptions() {
    for (int i = 0; i < 3; ++i) {
        const qb::FolderKind kind = Kinds[i];
        // The read writes every count mark, so a mark that is no number cannot reach here.
        const int count = readResult.folder(kind).count().value_or(0);
        SMS->setCaption(qb::PhoneInbox + i, qb::cp1251::toUnicode(qb::folderCaption(kind, count)));
    }
}

// --- Connection status (the watcher and the read command are in TForm1Phone.cpp)

// --- Commands

void TForm1::suiButton2Click() {
    if (isBusy())
        return;
    setMessagePanel(QString());
    RefreshConnectionStatus();
}

void TForm1::suiButton3Click() {
    if (isBusy())
        return;
    setMessagePanel(QString());
}

void TForm1::suiButton5Click() {
    if (isBusy())
        return;
    setMessagePanel(QString());
}

void TForm1::suiButton6Click() {
    if (isBusy())
        return;
    setMessagePanel(QString());
}

// A menu item that mirrors a toolbar button acts only while the button would.
void TForm1::N2Click() {
    if (isBusy())
        return;
    if (suiButton5->isEnabled())
        suiButton5Click();
}

void TForm1::N3Click() {
    if (isBusy())
        return;
    if (suiButton6->isEnabled())
        suiButton6Click();
}

void TForm1::N13Click() {
    if (isBusy())
        return;
    if (suiButton1->isEnabled())
        suiButton1Click();
}

void TForm1::N6Click() {}
void TForm1::N7Click() {}
void TForm1::N15Click() {}

// --- Closing

void TForm1::closeEvent(QCloseEvent* event) {
    if (isBusy()) {
        // A long command still works on this window's state: close once it has ended.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    m_closeRequested = false;
    FormClose();
    event->accept(); // closing is never refused, only deferred
}

// --- Window services for the commands

QTreeWidgetItem* TForm1::node(int position) const {
    return SMS->node(position);
}

qb::Progress& TForm1::progress() {
    return *m_progress;
}

void TForm1::setTitleText(const QString& text) {
    RzLabel1->setText(text);
}

void TForm1::setMessagePanel(const QString& text) {
    m_messagePanel->setText(text);
}

QString TForm1::messagePanel() const {
    return m_messagePanel->text();
}

bool TForm1::reportFailure(const qb::MaybeFailure& failure) {
    if (failure)
        showFailure(*failure);
    return failure.has_value();
}

void TForm1::showFailure(const qb::Failure& failure) {
    QMessageBox::critical(this, qb::ui::ApplicationTitle, failure.text());
}
