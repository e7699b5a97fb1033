#pragma once
// The one command state of the program: which job runs, and from that and
// the rest of the program's state, which command may run now. A controller
// starts every job through run(); while one runs, run() refuses another and
// every command rests. The window enables each command's one action by
// isEnabled(), in one place, whenever commandsChanged() comes.
#include "core/Job.h"

#include <QObject>
#include <QPointer>
#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>

namespace qb {

enum class Command {
    Connect,
    Read,
    ExportSelected,
    ExportAll,
    ExportForSmartphone,
    Import,
    DeleteInArchive,
    DeleteAllInArchive,
    DeleteOnPhone,
    ChoosePort,     // the phone's port, automatic or by hand
    DeleteSelected, // the Delete key: asks, then deletes where the list shows
    SortList,       // a click on a column header
    CancelJob,      // Esc and the button beside the progress bar
    About,
    Search,           // Ctrl+F: to the search field
    EndSearch,        // Esc over results or a conversation: back to the folder
    ShowConversation, // "Переписка с …" of the selected message
    Print,            // the rows listed, or those selected, on paper
    SavePdf,          // the same as a PDF
};

// Whether the user may stop a job with Esc or the cancel button; every job
// can still be cancelled by the program (closing the window cancels it).
enum class UserCancel { No, Yes };

class CommandState : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    bool isBusy() const { return !m_job.isNull(); }
    bool isEnabled(Command command) const;

    // Starts `job` and calls `done` with it once it has finished, before the
    // next command may start; gives back the job started, none (the job
    // destroyed unstarted) while another one runs.
    template <std::derived_from<Job> J>
    J* run(std::unique_ptr<J> job, std::type_identity_t<std::function<void(J&)>> done,
           UserCancel userCancel = UserCancel::No) {
        J* started = job.get();
        auto typedDone = [started, done = std::move(done)] {
            if (done)
                done(*started);
        };
        return runJob(std::move(job), std::move(typedDone), userCancel) ? started : nullptr;
    }
    // Cancels the running job, if any; its done() still comes.
    void cancel();
    // Cancels the running job only when the user may (Esc, the cancel button).
    void cancelByUser();

    // What the commands depend on besides the running job.
    void setConnected(bool connected);
    void setListed(bool folderWithRows, bool rowsSelected);
    // The list shows a search's results or a conversation.
    void setGathered(bool gathered);

  signals:
    void busyChanged(bool busy);
    // The job's progress, for the progress bar.
    void progressChanged(const qb::ProgressState& state);
    // Some command may have become enabled or disabled.
    void commandsChanged();

  private:
    bool runJob(std::unique_ptr<Job> job, std::function<void()> done, UserCancel userCancel);
    void jobEnded(Job* job, const std::function<void()>& done);
    void update(bool& value, bool now);

    QPointer<Job> m_job;
    bool m_userCancel = false;
    bool m_connected = false;
    bool m_folderWithRows = false;
    bool m_rowsSelected = false;
    bool m_gathered = false;
};

} // namespace qb
