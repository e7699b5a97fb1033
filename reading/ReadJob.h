#pragma once
// What every phone read shares, whichever dialogue the phone speaks: where it
// starts from, how it ends, the stages it tells, and the job the commands run.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "core/Failure.h"
#include "core/Job.h"
#include "core/Progress.h"
#include "phonelink/AtPort.h"
#include "phonelink/UsbModems.h"
#include "reading/PhoneCommands.h"
#include "reading/PhoneFailure.h"

#include <QString>
#include <QStringList>
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
    // The dialogue the phone speaks, by its USB vendor; none for a port that
    // has none to go by: the phone's answer to AT+CGMI decides.
    std::optional<PhoneDialogue> dialogue = PhoneDialogue::Motorola;
};

// What a standard phone's read left out of the archive, for its summary.
struct LeftOut {
    int statusReports = 0;      // no messages: delivery reports
    int incompleteMessages = 0; // kept, with their missing parts marked
    int missingParts = 0;
    // A message that could not be decoded, by its place and why: "SM7: …".
    QStringList undecodable;
    // Storages and phonebooks the phone would not give: "SM: +CMS ERROR: 310".
    QStringList unavailable;
    bool isEmpty() const {
        return statusReports == 0 && incompleteMessages == 0 && undecodable.isEmpty() &&
               unavailable.isEmpty();
    }
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
    LeftOut leftOut{};
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

// A phone read, as the commands run it: one finished() with its outcome.
class ReadJob : public Job {
    Q_OBJECT
  public:
    using Job::Job;
    const ReadOutcome& outcome() const { return m_outcome; }

  signals:
    // A stage begins, or goes on: `done` of `total` steps (0 of 0 where the
    // stage has no count).
    void stageReached(qb::ReadStage stage, int done, int total);

  protected:
    ReadOutcome m_outcome;
};

} // namespace qb
