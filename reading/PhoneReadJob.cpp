#include "reading/PhoneReadJob.h"

#include "archive/ArchiveFiles.h"
#include "archive/RecordLines.h"
#include "core/LineList.h"
#include "reading/PhonebookReplies.h"

#include <QTimer>
#include <new>

namespace qb {
namespace {

using Kind = ReadOutcome::Kind;

ReadOutcome failed(Failure failure) {
    return {Kind::Failed, std::move(failure)};
}

} // namespace

Kind lostKind(LineLoss loss) {
    switch (loss) {
    case LineLoss::Busy:
        return Kind::PortBusy;
    case LineLoss::Refused:
        return Kind::PortRefused;
    case LineLoss::Stalled:
        return Kind::PhoneStalled;
    case LineLoss::None:
    case LineLoss::Vanished:
        break;
    }
    return Kind::PortVanished;
}

namespace {

LineList lines(const std::string& reply) {
    LineList list;
    list.add(reply);
    return list;
}

// Phones answer a read of a phonebook range without entries with "not found".
constexpr int NotFound = 22;

} // namespace

void progressStep(Progress& bar, int stepSize) {
    if (bar.position() < 100)
        bar.setPosition(bar.position() + stepSize);
    if (bar.position() >= 100)
        bar.setPosition(100);
}

PhoneReadJob::PhoneReadJob(ReadContext context, QObject* parent)
    : ReadJob(parent), m_context(std::move(context)), m_commands(m_context.limits),
      m_line(new PhoneLine(m_context.port, this)), m_read(m_context.result) {
    connect(m_line, &PhoneLine::lost, this, &PhoneReadJob::lineLost);
    connect(m_line, &PhoneLine::failed, this, &PhoneReadJob::lineFailed);
}

void PhoneReadJob::ask(const std::vector<AtCommand>& commands, Step next) {
    m_line->exchange(commands, [this, next](const Reply& reply) {
        if (m_cancelled) {
            finish({Kind::Cancelled, std::nullopt});
            return;
        }
        try {
            (this->*next)(reply);
        } catch (const std::bad_alloc&) {
            // A listing or an archive too large for this process ends the read
            // as a failure; the files are written whole or not at all.
            finish(failed(Failure::outOfMemory()));
        }
    });
}

void PhoneReadJob::cancel() {
    m_cancelled = true;
    m_files.cancel();
    // A reply may be a minute away or never come: the read ends now. What
    // the phone still sends is taken by the next command's first answer.
    if (m_line->isWaiting()) {
        m_line->abandon();
        QTimer::singleShot(0, this, [this] { finish({Kind::Cancelled, std::nullopt}); });
    }
}

void PhoneReadJob::start() {
    progress().setMaximum(100);
    progress().setVisible(true);
    progress().setPosition(0);
    progress().setTextVisible(false);
    m_stepSize = 1;
    if (!m_line->reopen())
        return; // lineLost() ends the read
    step();
    emit stageReached(ReadStage::Listing, 0, 0);
    // The phone answers the set-up commands together; the read relies on its
    // echo, not on those answers.
    ask(m_commands.setUp(), &PhoneReadJob::askForListing);
}

void PhoneReadJob::askForListing(const Reply& /*setUpAnswers*/) {
    ask({m_commands.listing()}, &PhoneReadJob::sortListing);
    step();
}

void PhoneReadJob::sortListing(const Reply& reply) {
    const LineList listing = lines(reply.bytes);
    step();
    m_stepSize = 20;
    if (auto problem = checkListing(listing)) {
        refuseReply(m_commands.listing().text, std::move(*problem));
        return;
    }
    // Decided by the headers, not by the third line: a first message with an
    // empty text leaves that line empty too.
    if (!listingHoldsMessages(listing)) {
        finish({Kind::NothingListed, std::nullopt});
        return;
    }
    parseListingFolder(listing, FolderKind::Inbox, m_indexBounds, m_read.inbox);
    parseListingFolder(listing, FolderKind::Outbox, m_indexBounds, m_read.outbox);
    m_stepSize = 1;
    progress().setMaximum(listing.count() + 7);
    parseListingFolder(listing, FolderKind::Draft, m_indexBounds, m_read.draft);
    // One step per line number the Draft pass visits, past 100 if need be.
    progress().setPosition(progress().position() + listing.count() + 1);
    m_date = 0;
    readNextDate();
}

void PhoneReadJob::readNextDate() {
    const int total = static_cast<int>(m_read.inbox.size());
    if (++m_date > total) {
        askForPhonebookRange();
        return;
    }
    emit stageReached(ReadStage::Dates, m_date - 1, total);
    // A bare AT first takes whatever the phone still had to say, so the
    // +CMGR reply starts with its own echo and the header is its line 1.
    ask({m_commands.resync()}, &PhoneReadJob::askForDate);
}

Message& PhoneReadJob::datedMessage() {
    return m_read.inbox[static_cast<std::size_t>(m_date - 1)];
}

AtCommand PhoneReadJob::readDatedMessage() {
    // Asked for by its index exactly as the phone listed it.
    return m_commands.readMessage(record::indexLine(view(datedMessage())));
}

void PhoneReadJob::askForDate(const Reply& /*answerToAt*/) {
    ask({readDatedMessage()}, &PhoneReadJob::takeDate);
}

void PhoneReadJob::takeDate(const Reply& reply) {
    const LineList answer = lines(reply.bytes);
    step();
    Message& message = datedMessage();
    if (auto problem = checkCmgrReply(answer, message.stored.header.value_or(""))) {
        refuseReply(readDatedMessage().text, std::move(*problem));
        return;
    }
    record::setStamp(message, parseCmgrStamp(answer));
    readNextDate();
}

void PhoneReadJob::askForPhonebookRange() {
    emit stageReached(ReadStage::Phonebook, 0, 0);
    // The first reply holds the answer to the storage switch as well; asking
    // for the range again gives a reply with the range alone.
    ask(m_commands.phonebookStorageAndRange(), &PhoneReadJob::askForRangeAlone);
}

void PhoneReadJob::askForRangeAlone(const Reply& /*storageAndRange*/) {
    ask({m_commands.phonebookRange()}, &PhoneReadJob::askForEntries);
}

void PhoneReadJob::askForEntries(const Reply& range) {
    m_rangeEnd = parsePhonebookRangeEnd(range.bytes);
    ask({m_commands.phonebookEntries(m_rangeEnd)}, &PhoneReadJob::takeEntries);
    step();
}

void PhoneReadJob::takeEntries(const Reply& reply) {
    // Without a range the read asks for whatever the phone has from 1 on, and
    // an error then only says there is nothing; so does "not found" for a range.
    const FinalCode* code = reply.codes.empty() ? nullptr : &reply.codes.back();
    if (code && code->isError() && m_rangeEnd &&
        !(code->kind == FinalCode::Kind::CmeError && code->number == NotFound)) {
        lineFailed(refusalOf(m_commands.phonebookEntries(m_rangeEnd).text, *code));
        return;
    }
    storeEverything(reply.bytes);
}

void PhoneReadJob::storeEverything(std::string reply) {
    const LineList entryLines = lines(reply);
    step();
    std::vector<PhonebookEntry> entries = parsePhonebookEntries(entryLines);
    m_readShown = true;
    // A phone that lists no entry keeps the phonebook already known.
    if (!entries.empty())
        m_listed = Phonebook{std::move(entries), std::nullopt};
    // Merging into an archive of 100 000 messages, with its syncs, takes
    // longer than the window may go without handling its events.
    m_storing = true;
    emit stageReached(ReadStage::Archive, 0, 0);
    m_files.start(
        [this](Cancellation& cancel) {
            try {
                m_storeFailure = storePhoneRead(m_context.workDir, m_read, m_listed,
                                                m_context.phonebook, &cancel, &m_appended);
            } catch (const std::bad_alloc&) {
                m_storeFailure = Failure::outOfMemory();
            }
        },
        [this] { stored(); });
}

void PhoneReadJob::stored() {
    if (m_files.stopped())
        finish({Kind::Cancelled, std::nullopt}); // stopped before the lock: nothing written
    else if (m_storeFailure)
        finish(failed(*m_storeFailure));
    else
        finish({Kind::Finished, std::nullopt});
}

void PhoneReadJob::refuseReply(const std::string& command, ReplyProblem problem) {
    PhoneFailure failure;
    failure.kind = PhoneFailure::Kind::UnfitReply;
    failure.command = command;
    failure.mismatch = problem.mismatch;
    failure.subject = std::move(problem.subject);
    lineFailed(failure);
}

void PhoneReadJob::lineLost(LineLoss loss) {
    // Once the phone has said all, the files decide how the read ends.
    if (m_storing)
        return;
    finish({m_cancelled ? Kind::Cancelled : lostKind(loss), std::nullopt});
}

void PhoneReadJob::lineFailed(const PhoneFailure& failure) {
    if (m_cancelled) {
        finish({Kind::Cancelled, std::nullopt});
        return;
    }
    finish({Kind::PhoneFailed, std::nullopt, failure});
}

void PhoneReadJob::finish(ReadOutcome outcome) {
    if (m_finished)
        return;
    m_finished = true;
    m_line->abandon();
    m_outcome = std::move(outcome);
    if (m_readShown && m_outcome.kind != Kind::Cancelled) {
        m_outcome.read = m_read;
        m_outcome.phonebook = m_listed;
        m_outcome.appended = m_appended;
    }
    progress().setVisible(false);
    progress().setTextVisible(true);
    finishFromEventLoop();
}

} // namespace qb
