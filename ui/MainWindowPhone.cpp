// The main window's side of the phone link: following the device watcher,
// the connection status, the read command and closing the ports at exit.
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "reading/PhoneRead.h"
#include "ui/ApplicationTitle.h"
#include "ui/BusyScope.h"
#include "ui/FolderTreeWidget.h"
#include "models/ImageList.h"
#include "models/MessageListModel.h"
#include "ui/MessageViewer.h"
#include "ui/PhoneMessages.h"
#include "ui/StatusPanel.h"

#include <QMessageBox>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace {

void tell(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, qb::ui::ApplicationTitle, text);
}

} // namespace

void MainWindow::createDeviceWatcher() {
    m_phoneWatcher = new qb::PhoneWatcher(this);
    connect(m_phoneWatcher, &qb::PhoneWatcher::portRemoved, this, &MainWindow::forgetPort);
}

void MainWindow::forgetPort(qb::PhonePort* port) {
    if (m_activePort == port)
        m_activePort = nullptr;
}

qb::PortSource MainWindow::portSource() {
    return [this]() -> qb::AtPort* { return m_activePort; };
}

void MainWindow::refreshConnectionStatus() {
    if (m_phoneWatcher->count() >= 1) {
        m_activePort = m_phoneWatcher->ports().at(0);
        m_readButton->setEnabled(!isBusy());
        m_statusPanel->setText(QStringLiteral(" Состояние: Подключен"));
        m_statusPanel->setImage(qb::Image::Connected);
        // sysfs gives the USB product string in UTF-8, not in the archive's code page.
        const std::string& location = m_activePort->modem().productName;
        m_folderTree->setCaption(qb::PhoneNode,
                                 QString::fromUtf8(location.data(), qsizetype(location.size())));
    } else {
        m_statusPanel->setText(QStringLiteral(" Состояние: Отключен"));
        m_statusPanel->setImage(qb::Image::Disconnected);
        m_readButton->setEnabled(false);
    }
}

// --- The read command

bool MainWindow::openActivePort() {
    if (m_activePort && m_activePort->open())
        return true;
    const bool denied =
        m_activePort && m_activePort->lastOpenError() == qb::OpenError::NoPermission;
    tell(this, denied ? qb::ui::noPermissionText(m_activePort->modem().devNode)
                      : qb::ui::deviceBusyText());
    return false;
}

void MainWindow::readPhone() {
    // The menu item acts only while the toolbar button would.
    if (isBusy() || !m_readButton->isEnabled() || !openActivePort())
        return;
    setMessagePanel(QString());
    progress().setMaximum(100);
    progress().setVisible(true);
    progress().setPosition(0);

    qb::ReadOutcome outcome;
    {
        qb::ui::BusyScope busy(*this);
        qb::ReadContext context{portSource(), progress(), m_workspace.readResult,
                                m_workspace.phonebook, m_workspace.workDir};
        outcome = qb::readPhone(context);
    }
    progress().setTextVisible(true);
    switch (outcome.kind) {
    case qb::ReadOutcome::Kind::PortVanished:
    case qb::ReadOutcome::Kind::PortBusy:
    case qb::ReadOutcome::Kind::PortRefused:
    case qb::ReadOutcome::Kind::PhoneStalled:
        progress().setVisible(false);
        tell(this, qb::ui::lostPhoneText(outcome.kind, m_activePort ? m_activePort->modem().devNode
                                                                    : std::string()));
        break;
    case qb::ReadOutcome::Kind::Failed:
        progress().setVisible(false);
        showFailure(*outcome.failure);
        finishPhoneRead(); // the phone folders show what was read before the stop
        break;
    case qb::ReadOutcome::Kind::Finished:
    case qb::ReadOutcome::Kind::NothingListed:
        finishPhoneRead();
        break;
    }
    refreshConnectionStatus();
}

void MainWindow::finishPhoneRead() {
    QTreeWidgetItem* phone = node(qb::PhoneNode);
    m_folderTree->expandItem(phone);
    for (int i = 0; i < phone->childCount(); ++i)
        m_folderTree->expandItem(phone->child(i));
    progress().setVisible(false);
    const auto readSomething = [this](qb::FolderKind kind) {
        const qb::ReadEntry* first = m_workspace.readResult.folder(kind).find(1);
        return first && !first->index.empty();
    };
    if (readSomething(qb::FolderKind::Inbox) || readSomething(qb::FolderKind::Outbox) ||
        readSomething(qb::FolderKind::Draft)) {
        setPhoneCaptions();
        reloadArchive();
        loadPhonebook();
    }
    refreshShownPhoneFolder();
}

// Rows of a phone folder carry positions of the read that filled them. After a
// new read those positions name other messages, and deleting from such rows
// would remove the wrong entries: the shown phone folder is listed afresh.
void MainWindow::refreshShownPhoneFolder() {
    if (!qb::isPhoneFolder(m_shownFolder))
        return;
    if (m_folderTree->selectedPosition() == m_shownFolder) {
        fillList();
        return;
    }
    m_shownFolder = -1;
    m_messages->clear();
    m_viewer->clear();
    m_exportSelectedButton->setEnabled(false);
    m_exportAllButton->setEnabled(false);
}

// --- Closing

void MainWindow::closePorts() {
    qb::PhonePortList& ports = m_phoneWatcher->ports();
    for (int i = 0; i < ports.count(); ++i) {
        if (qb::PhonePort* port = ports.at(i); port->isOpen())
            port->close();
    }
}
