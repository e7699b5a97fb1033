#pragma once
// The phone read: lists every message on the phone, sorts them into the three
// folders, fetches each received message's time, captures the phonebook and
// merges what is new into the archive files. Each step sends its commands and
// names the step that takes the reply, on the event loop.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "codecs/FieldBounds.h"
#include "core/Failure.h"
#include "core/Job.h"
#include "core/JobWorker.h"
#include "core/Progress.h"
#include "reading/MessageReplies.h"
#include "reading/PhoneCommands.h"
#include "reading/PhoneLine.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// What the read starts from, and the port it reads from. The read works on
// copies of its own and hands the new values back in its outcome.
struct ReadContext {
    AtPort* port = nullptr;
    ReadResult result;   // the phone folders as the last read left them
    Phonebook phonebook; // known before this read: kept when the phone lists no entry
    QString workDir;
    // How long the phone may take over each command; tests shorten them.
    DialogueLimits limits{};
};

struct ReadOutcome {
    enum class Kind {
        Finished,      // read, phonebook written, archive merged
        NothingListed, // the phone listed no message: nothing changed
        PortVanished,  // the phone went away: no result, no file changed
        PortBusy,      // another program took the port at the re-open: the same
        PortRefused,   // the re-open was not permitted: the same
        PhoneStalled,  // the phone stopped taking commands: the same
        PhoneFailed,   // a command went unanswered, was refused or answered
                       // unfittingly (`phoneFailure`): the same
        Failed,        // stopped with `failure`; the ReadResult holds this read
        Cancelled,     // stopped on request before the files: nothing changed
    };
    ReadOutcome() = default;
    ReadOutcome(Kind kind, MaybeFailure failure, std::optional<PhoneFailure> phoneFailure = {})
        : kind(kind), failure(std::move(failure)), phoneFailure(std::move(phoneFailure)) {}

    Kind kind = Kind::Finished;
    MaybeFailure failure;
    std::optional<PhoneFailure> phoneFailure;
    // The phone folders of this read, for the window to show from now on; none
    // when it keeps showing the previous read.
    std::optional<ReadResult> read{};
    // The phonebook the phone listed; none when it listed no entry.
    std::optional<Phonebook> phonebook{};
    // The messages of this read that were new to each archive file.
    AppendedCounts appended{};
};

// What the read is doing, for a progress told in words (the command line).
enum class ReadStage {
    Listing,   // the phone lists its messages
    Dates,     // the received messages' times, one command each
    Phonebook, // the phonebook
    Archive,   // the files are written
};

// Advances the bar by `stepSize` while it is below 100, never beyond 100.
// The bar's maximum takes no part in this.
void progressStep(Progress& bar, int stepSize);

// The whole read. The outcome carries a ReadResult only when the read gets
// past the listing and the phone stays plugged in and answers every command;
// the phonebook and the archive files change only when every command was
// answered. The files are written on a worker thread, under the archive lock.
class PhoneReadJob : public Job {
    Q_OBJECT
  public:
    PhoneReadJob(ReadContext context, QObject* parent = nullptr);

    void start() override;
    // Stops at once, also while a reply is awaited; nothing is written.
    void cancel() override;
    const ReadOutcome& outcome() const { return m_outcome; }

  signals:
    // A stage begins, or goes on: `done` of `total` steps (the Dates stage's
    // messages; 0 of 0 for the others).
    void stageReached(qb::ReadStage stage, int done, int total);

  private:
    using Step = void (PhoneReadJob::*)(const Reply& reply);
    // Sends `commands`, then runs `next` on their reply unless cancelled meanwhile.
    void ask(const std::vector<AtCommand>& commands, Step next);
    void step() { progressStep(progress(), m_stepSize); }

    void askForListing(const Reply& setUpAnswers);
    void sortListing(const Reply& listing);
    void readNextDate();
    Message& datedMessage();
    AtCommand readDatedMessage();
    void askForDate(const Reply& answerToAt);
    void takeDate(const Reply& reply);
    void askForPhonebookRange();
    void askForRangeAlone(const Reply& storageAndRange);
    void askForEntries(const Reply& range);
    void takeEntries(const Reply& entries);
    void storeEverything(std::string entries);
    void stored();

    void refuseReply(const std::string& command, ReplyProblem problem);
    void lineLost(LineLoss loss);
    void lineFailed(const PhoneFailure& failure);
    void finish(ReadOutcome outcome);

    ReadContext m_context;
    PhoneCommands m_commands;
    PhoneLine* m_line;
    // Worked on apart from the context's, so that a phone unplugged half-way
    // leaves the phone folders showing the previous read.
    ReadResult m_read;
    // Carried over from one header to the next and from one folder's pass to
    // the next, as the index has always been cut.
    CarriedFieldBounds m_indexBounds;
    int m_stepSize = 0;
    int m_date = 0;                        // the received message whose time is asked for, from 1
    std::optional<std::string> m_rangeEnd; // of the phonebook, as the phone gave it
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_readShown = false; // the window shows this read's folders from now on
    bool m_storing = false;   // the phone has said all; the files are being written
    std::optional<Phonebook> m_listed;
    MaybeFailure m_storeFailure;
    AppendedCounts m_appended{};
    ReadOutcome m_outcome;
    JobWorker m_files{*this}; // last: destroyed first, waiting for the files
};

} // namespace qb
