#include "controllers/CommandState.h"

namespace qb {

bool CommandState::isEnabled(Command command) const {
    const bool idle = !isBusy();
    switch (command) {
    case Command::Read:
        return idle && m_connected;
    case Command::ExportSelected:
        return idle && m_rowsSelected;
    case Command::ExportAll:
        return idle && m_folderWithRows;
    case Command::CancelJob:
        return isBusy() && m_userCancel;
    case Command::Search:
        return true; // searching changes nothing: also while a job runs
    case Command::EndSearch:
        // Esc stops a job first.
        return m_gathered && !isEnabled(Command::CancelJob);
    case Command::ShowConversation:
        return m_rowsSelected;
    case Command::Print:
    case Command::SavePdf:
        return idle && m_folderWithRows;
    case Command::Connect:
    case Command::ExportForSmartphone:
    case Command::Import:
    case Command::DeleteInArchive:
    case Command::DeleteAllInArchive:
    case Command::DeleteOnPhone:
    case Command::ChoosePort:
    case Command::DeleteSelected:
    case Command::SortList:
    case Command::About:
        break;
    }
    return idle;
}

bool CommandState::runJob(std::unique_ptr<Job> owned, std::function<void()> done,
                          UserCancel userCancel) {
    if (isBusy())
        return false;
    Job* job = owned.release();
    job->setParent(this);
    m_job = job;
    m_userCancel = userCancel == UserCancel::Yes;
    connect(&job->progress(), &ProgressSignal::changed, this, &CommandState::progressChanged);
    // What the controller set up before handing the job over shows at once.
    emit progressChanged(job->progress().state());
    connect(job, &Job::finished, this,
            [this, job, done = std::move(done)] { jobEnded(job, done); });
    emit busyChanged(true);
    emit commandsChanged();
    job->start();
    return true;
}

void CommandState::jobEnded(Job* job, const std::function<void()>& done) {
    m_job = nullptr;
    m_userCancel = false;
    // The outcome is read before the next command may start.
    done();
    job->deleteLater();
    // done() may have started the next job already.
    if (isBusy())
        return;
    emit busyChanged(false);
    emit commandsChanged();
}

void CommandState::cancel() {
    if (m_job)
        m_job->cancel();
}

void CommandState::cancelByUser() {
    if (isEnabled(Command::CancelJob))
        cancel();
}

void CommandState::update(bool& value, bool now) {
    if (value == now)
        return;
    value = now;
    emit commandsChanged();
}

void CommandState::setGathered(bool gathered) {
    update(m_gathered, gathered);
}

void CommandState::setConnected(bool connected) {
    update(m_connected, connected);
}

void CommandState::setListed(bool folderWithRows, bool rowsSelected) {
    const bool changed = folderWithRows != m_folderWithRows || rowsSelected != m_rowsSelected;
    m_folderWithRows = folderWithRows;
    m_rowsSelected = rowsSelected;
    if (changed)
        emit commandsChanged();
}

} // namespace qb
