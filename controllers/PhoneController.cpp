#include "controllers/PhoneController.h"

#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/PhoneMessages.h"
#include "controllers/UserDialogs.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "reading/PhoneReadJob.h"
#include "reading/StandardReadJob.h"

namespace qb {

PhoneController::PhoneController(Workspace& workspace, PhoneWatcher& watcher,
                                 CommandState& commands, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_watcher(watcher), m_commands(commands),
      m_dialogs(dialogs) {
    connect(&watcher, &PhoneWatcher::portRemoved, this, &PhoneController::forgetPort);
}

bool PhoneController::isConnected() const {
    return m_watcher.count() >= 1;
}

void PhoneController::forgetPort(PhonePort* port) {
    if (m_activePort == port)
        m_activePort = nullptr;
}

void PhoneController::refreshConnection() {
    if (!isConnected()) {
        emit connectionChanged(false, QString());
        return;
    }
    m_activePort = m_watcher.ports().at(0);
    // sysfs gives the USB product string in UTF-8, not in the archive's code page.
    const std::string& product = m_activePort->modem().productName;
    emit connectionChanged(true, QString::fromUtf8(product.data(), qsizetype(product.size())));
}

void PhoneController::closePorts() {
    PhonePortList& ports = m_watcher.ports();
    for (int i = 0; i < ports.count(); ++i) {
        if (PhonePort* port = ports.at(i); port->isOpen())
            port->close();
    }
}

std::string PhoneController::activeDevNode() const {
    return m_activePort ? m_activePort->modem().devNode : std::string();
}

PhonePort* PhoneController::currentPort() {
    // The watcher's list as it is now, not as the last status tick saw it: a
    // phone plugged in again a moment ago already has a port of its own.
    m_activePort = isConnected() ? m_watcher.ports().at(0) : nullptr;
    return m_activePort;
}

AtPort* PhoneController::openPhone(AtPort* port, QString& refusal) {
    if (port && port->open())
        return port;
    const bool denied = port && port->lastOpenError() == OpenError::NoPermission;
    refusal = denied ? noPermissionText(activeDevNode()) : deviceBusyText();
    return nullptr;
}

void PhoneController::releasePort() {
    if (m_portInUse)
        m_portInUse->close();
    m_portInUse = nullptr;
}

void PhoneController::readPhone(ReadStart start) {
    if (m_commands.isBusy())
        return;
    ReadReport report;
    report.start = start;
    QString refusal;
    AtPort* port = openPhone(currentPort(), refusal);
    if (!port) {
        readFailed(report, refusal, false);
        emit readReported(report);
        return;
    }
    m_portInUse = port;
    ReadContext context{port, m_workspace.readResult, m_workspace.phonebook, m_workspace.workDir};
    context.dialogue = dialogueOf(m_activePort);
    std::unique_ptr<ReadJob> job;
    if (context.dialogue == PhoneDialogue::Motorola)
        job = std::make_unique<PhoneReadJob>(std::move(context));
    else
        job = std::make_unique<StandardReadJob>(std::move(context));
    connect(job.get(), &ReadJob::stageReached, this, &PhoneController::readStageReached);
    m_commands.run(
        std::move(job), [this, report](ReadJob& done) { readEnd(done, report); }, UserCancel::Yes);
}

std::optional<PhoneDialogue> PhoneController::dialogueOf(const PhonePort* port) {
    // A port named by its path may have no USB vendor to go by: the phone
    // then says who made it.
    if (!port || port->modem().vendorId.empty())
        return std::nullopt;
    return port->modem().dialogue;
}

void PhoneController::readFailed(ReadReport& report, const QString& text, bool critical) {
    report.end = ReadReport::End::Failed;
    report.failure = text;
    if (report.start != ReadStart::ByUser)
        return;
    if (critical)
        m_dialogs.fail(text);
    else
        m_dialogs.inform(text);
}

void PhoneController::readEnd(const ReadJob& job, ReadReport report) {
    using Kind = ReadOutcome::Kind;
    const ReadOutcome& outcome = job.outcome();
    releasePort();
    // The read hands its values back; they become the program's state here.
    if (outcome.read)
        m_workspace.readResult = *outcome.read;
    if (outcome.phonebook)
        m_workspace.phonebook = *outcome.phonebook;
    switch (outcome.kind) {
    case Kind::PortVanished:
    case Kind::PortBusy:
    case Kind::PortRefused:
    case Kind::PhoneStalled:
        readFailed(report, lostPhoneText(outcome.kind, activeDevNode()), false);
        break;
    case Kind::PhoneFailed:
        readFailed(report, phoneFailureText(*outcome.phoneFailure, PhoneCommand::Read), true);
        break;
    case Kind::Cancelled:
        report.end = ReadReport::End::Cancelled;
        emit note(readCancelledText());
        break;
    case Kind::Failed:
        readFailed(report, outcome.failure->text(), true);
        [[fallthrough]]; // the phone folders show what was read before the stop
    case Kind::Finished:
    case Kind::NothingListed: {
        emit readEnded();
        if (outcome.kind == Kind::NothingListed) {
            report.end = ReadReport::End::NothingListed;
            emit note(nothingListedText());
        } else {
            for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
                report.read[static_cast<std::size_t>(kind)] = m_workspace.phoneCount(kind);
            report.added = outcome.appended;
            report.contacts = outcome.phonebook ? int(outcome.phonebook->entries.size()) : 0;
            report.leftOut = outcome.leftOut;
            tellLeftOut(report);
        }
        if (m_workspace.readResult.holdsMessages()) {
            emit phoneCaptionsChanged();
            emit archiveChanged();
        }
        // Rows of a phone folder carry positions of the read that filled them.
        emit phoneFolderChanged();
        break;
    }
    }
    refreshConnection();
    emit readReported(report);
}

// The user who pressed the button hears of what the read could not take:
// in a box where messages could not be decoded, else in the message panel.
void PhoneController::tellLeftOut(const ReadReport& report) {
    const QString text = leftOutText(report.leftOut);
    if (text.isEmpty() || report.start != ReadStart::ByUser)
        return;
    if (!report.leftOut.undecodable.isEmpty() || !report.leftOut.unavailable.isEmpty())
        m_dialogs.tell(text);
    else
        emit note(text);
}

void PhoneController::deleteOnPhone(FolderKind folder, std::vector<DeleteRow> rows) {
    if (m_commands.isBusy() || rows.empty())
        return; // nothing to delete: the phone is not even asked
    QString refusal;
    AtPort* port = openPhone(m_deletionPort ? m_deletionPort.data() : currentPort(), refusal);
    if (!port) {
        m_dialogs.inform(refusal);
        return;
    }
    m_portInUse = port;
    m_commands.run(
        std::make_unique<DeleteOnPhoneJob>(port, folder, std::move(rows), m_workspace.readResult),
        [this, folder](DeleteOnPhoneJob& done) { deletionEnd(folder, done); }, UserCancel::Yes);
}

void PhoneController::deletionEnd(FolderKind folder, const DeleteOnPhoneJob& job) {
    using Kind = DeleteOutcome::Kind;
    const DeleteOutcome& outcome = job.outcome();
    releasePort();
    if (outcome.kind == Kind::NoPort) {
        m_dialogs.inform(deviceBusyText());
        return;
    }
    emit deletedOnPhone(folder, outcome.deleted);
    emit phoneCaptionsChanged();
    switch (outcome.kind) {
    case Kind::Done:
        if (outcome.notDeleted > 0)
            m_dialogs.tell(outcome.failure
                               ? refusedOnPhoneText(outcome.notDeleted, *outcome.failure)
                               : keptOnPhoneText(outcome.notDeleted));
        break;
    case Kind::Lost:
        m_dialogs.inform(deletionLostText(outcome.loss, outcome.notDeleted, activeDevNode()));
        break;
    case Kind::Failed:
        m_dialogs.fail(
            phoneFailureText(*outcome.failure, PhoneCommand::Deletion, outcome.notDeleted));
        break;
    case Kind::Cancelled:
        emit note(deletionCancelledText());
        break;
    case Kind::NoPort:
        break;
    }
}

} // namespace qb
