#pragma once
// The phone read: lists every message on the phone, sorts them into the three
// folders, fetches each received message's time, captures the phonebook and
// merges what is new into the archive files. Each step sends its commands and
// names the step that takes the reply, on the event loop.
#include "archive/ArchiveTypes.h"
#include "codecs/FieldBounds.h"
#include "core/Failure.h"
#include "core/Job.h"
#include "core/Progress.h"
#include "reading/PhoneLine.h"

#include <QString>
#include <string>
#include <vector>

namespace qb {

// The program state the read works on, and the port it reads from.
struct ReadContext {
    AtPort* port = nullptr;
    ReadResult& result;
    Phonebook& phonebook;
    QString workDir;
};

struct ReadOutcome {
    enum class Kind {
        Finished,      // read, phonebook written, archive merged
        NothingListed, // the phone listed no message: nothing changed
        PortVanished,  // the phone went away: no result, no file changed
        PortBusy,      // another program took the port at the re-open: the same
        PortRefused,   // the re-open was not permitted: the same
        PhoneStalled,  // the phone stopped taking commands: the same
        Failed,        // stopped with `failure`; the ReadResult holds this read
        Cancelled,     // stopped on request before the files: nothing changed
    };
    Kind kind = Kind::Finished;
    MaybeFailure failure;
};

// Advances the bar by `stepSize` while it is below 100, never beyond 100.
// The bar's maximum takes no part in this.
void progressStep(Progress& bar, int stepSize);

// The whole read. The context's ReadResult changes only when the read gets
// past the listing and the phone stays plugged in; the phonebook and the
// archive files change only when every command was answered.
class PhoneReadJob : public Job {
    Q_OBJECT
  public:
    PhoneReadJob(ReadContext context, QObject* parent = nullptr);

    void start() override;
    void cancel() override { m_cancelled = true; }
    const ReadOutcome& outcome() const { return m_outcome; }

  private:
    using Step = void (PhoneReadJob::*)(std::string reply);
    // Sends `commands`, then runs `next` on their reply unless cancelled meanwhile.
    void ask(const std::vector<std::string>& commands, Step next);
    void step() { progressStep(progress(), m_stepSize); }

    void askForListing(std::string setUpAnswers);
    void sortListing(std::string listing);
    void readNextDate();
    void askForDate(std::string answerToAt);
    void takeDate(std::string reply);
    void askForPhonebookRange();
    void askForRangeAlone(std::string storageAndRange);
    void askForEntries(std::string range);
    void storeEverything(std::string entries);

    void lineLost(LineLoss loss);
    void finish(ReadOutcome outcome);

    ReadContext m_context;
    PhoneLine* m_line;
    // Worked on apart from the context's, so that a phone unplugged half-way
    // leaves the phone folders showing the previous read.
    ReadResult m_read;
    // Carried over from one header to the next and from one folder's pass to
    // the next, as the index has always been cut.
    CarriedFieldBounds m_indexBounds;
    int m_stepSize = 0;
    int m_date = 0; // the received message whose time is asked for
    bool m_cancelled = false;
    bool m_finished = false;
    ReadOutcome m_outcome;
};

} // namespace qb
