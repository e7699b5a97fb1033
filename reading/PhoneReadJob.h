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
#include "reading/ReadJob.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// How a read that lost its phone ends; no file has been touched by then.
ReadOutcome::Kind lostKind(LineLoss loss);

// The whole read. The outcome carries a ReadResult only when the read gets
// past the listing and the phone stays plugged in and answers every command;
// the phonebook and the archive files change only when every command was
// answered. The files are written on a worker thread, under the archive lock.
class PhoneReadJob : public ReadJob {
    Q_OBJECT
  public:
    PhoneReadJob(ReadContext context, QObject* parent = nullptr);

    void start() override;
    // Stops at once, also while a reply is awaited; nothing is written.
    void cancel() override;

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
    JobWorker m_files{*this}; // last: destroyed first, waiting for the files
};

} // namespace qb
