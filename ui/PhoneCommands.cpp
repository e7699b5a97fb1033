#include "ui/PhoneCommands.h"

#include "controllers/UserDialogs.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "reading/PhoneRead.h"
#include "ui/PhoneMessages.h"

namespace qb::ui {

namespace {

const QString PhoneKeptMessages =
    QStringLiteral("Телефон не удалил сообщений: %1. Они остались на телефоне и в списке.");

} // namespace

PhoneCommands::PhoneCommands(Workspace& workspace, UserDialogs& dialogs, Progress& progress,
                             QObject* parent)
    : QObject(parent), m_workspace(workspace), m_dialogs(dialogs), m_progress(progress),
      m_watcher(new PhoneWatcher(this)) {
    connect(m_watcher, &PhoneWatcher::portRemoved, this, [this](PhonePort* port) {
        if (m_activePort == port)
            m_activePort = nullptr;
    });
}

PortSource PhoneCommands::portSource() {
    return [this]() -> AtPort* { return m_activePort; };
}

void PhoneCommands::refreshConnectionStatus() {
    if (m_watcher->count() < 1) {
        emit disconnected();
        return;
    }
    m_activePort = m_watcher->ports().at(0);
    // sysfs gives the USB product string in UTF-8, not in the archive's code page.
    const std::string& location = m_activePort->modem().productName;
    emit connected(QString::fromUtf8(location.data(), qsizetype(location.size())));
}

bool PhoneCommands::openActivePort() {
    if (m_activePort && m_activePort->open())
        return true;
    const bool denied = m_activePort && m_activePort->lastOpenError() == OpenError::NoPermission;
    m_dialogs.inform(denied ? noPermissionText(m_activePort->modem().devNode) : deviceBusyText());
    return false;
}

void PhoneCommands::readPhone() {
    if (!openActivePort())
        return;
    emit readStarted();
    m_progress.setMaximum(100);
    m_progress.setVisible(true);
    m_progress.setPosition(0);
    ReadContext context{portSource(), m_progress, m_workspace.readResult, m_workspace.phonebook,
                        m_workspace.workDir};
    const ReadOutcome outcome = qb::readPhone(context);
    m_progress.setTextVisible(true);
    switch (outcome.kind) {
    case ReadOutcome::Kind::PortVanished:
    case ReadOutcome::Kind::PortBusy:
    case ReadOutcome::Kind::PortRefused:
    case ReadOutcome::Kind::PhoneStalled:
        m_progress.setVisible(false);
        m_dialogs.inform(
            lostPhoneText(outcome.kind, m_activePort ? m_activePort->modem().devNode : ""));
        break;
    case ReadOutcome::Kind::Failed:
        m_progress.setVisible(false);
        m_dialogs.fail(outcome.failure->text());
        // The phone folders show what was read before the stop.
        emit readFinished(readSomething());
        break;
    case ReadOutcome::Kind::Finished:
    case ReadOutcome::Kind::NothingListed:
        m_progress.setVisible(false);
        emit readFinished(readSomething());
        break;
    }
    refreshConnectionStatus();
}

bool PhoneCommands::readSomething() const {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        const ReadEntry* first = m_workspace.readResult.folder(kind).find(1);
        if (first && !first->index.empty())
            return true;
    }
    return false;
}

void PhoneCommands::deleteOnPhone(FolderKind folder, const std::vector<DeleteRow>& rows) {
    if (rows.empty())
        return; // nothing to delete: the phone is not even asked
    const PortSource port = m_deletionPort ? m_deletionPort : portSource();
    const DeleteOutcome outcome =
        qb::deleteOnPhone(port, m_progress, folder, rows, m_workspace.readResult);
    if (outcome.kind == DeleteOutcome::Kind::NoPort) {
        m_dialogs.tell(deviceBusyText());
        return;
    }
    emit deletedOnPhone(outcome.deleted);
    if (outcome.notDeleted > 0)
        m_dialogs.tell(PhoneKeptMessages.arg(outcome.notDeleted));
}

void PhoneCommands::closePorts() {
    PhonePortList& ports = m_watcher->ports();
    for (int i = 0; i < ports.count(); ++i) {
        if (PhonePort* port = ports.at(i); port->isOpen())
            port->close();
    }
}

} // namespace qb::ui
