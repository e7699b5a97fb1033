#include "reading/PhoneRead.h"

#include "archive/ArchiveFiles.h"
#include "core/Cp1251.h"
#include "reading/ProgressStep.h"
#include "reading/MessageReplies.h"
#include "reading/PhonebookReplies.h"

#include <optional>
#include <vector>

namespace qb {
namespace {

using Kind = ReadOutcome::Kind;

ReadOutcome failed(Failure failure) {
    return {Kind::Failed, std::move(failure)};
}

// How a read that lost its phone ends; no file has been touched by then.
ReadOutcome lost(const PhoneLine& line) {
    switch (line.loss()) {
    case LineLoss::Busy:
        return {Kind::PortBusy, std::nullopt};
    case LineLoss::Refused:
        return {Kind::PortRefused, std::nullopt};
    case LineLoss::Stalled:
        return {Kind::PhoneStalled, std::nullopt};
    case LineLoss::None:
    case LineLoss::Vanished:
        break;
    }
    return {Kind::PortVanished, std::nullopt};
}

class PhoneRead {
  public:
    explicit PhoneRead(ReadContext& context)
        : m_c(context), m_line(context.port), m_read(context.result) {}

    ReadOutcome run();

  private:
    void step() { progressStep(m_c.progress, m_stepSize); }
    // Re-open, set-up commands and the listing into m_reply; false once the port is gone.
    bool listMessages();
    void sortListing();
    std::optional<ReadOutcome> readDates();
    std::optional<std::vector<PhonebookEntry>> fetchPhonebook();
    MaybeFailure storePhonebook(std::vector<PhonebookEntry> entries);
    // The window keeps this read's messages from here on, as it has always done
    // once the listing was sorted, also when a later step fails.
    void commit() { m_c.result = m_read; }

    ReadContext& m_c;
    PhoneLine m_line;
    // Worked on apart from the window's, so that a phone unplugged half-way
    // leaves the phone folders showing the previous read.
    ReadResult m_read;
    // Scratch lists: the listing, then the phonebook reply; one date reply at a time.
    LineList m_reply;
    LineList m_dateReply;
    FieldBounds m_bounds;
    int m_stepSize = 0;
};

ReadOutcome PhoneRead::run() {
    if (!listMessages())
        return lost(m_line);
    // Decided by the headers, not by the third line: a first message with an
    // empty text leaves that line empty too.
    if (!listingHoldsMessages(m_reply))
        return {Kind::NothingListed, std::nullopt};
    sortListing();
    if (auto stop = readDates())
        return *stop;
    auto entries = fetchPhonebook();
    if (!entries)
        return lost(m_line);
    commit();
    if (auto failure = storePhonebook(std::move(*entries)))
        return failed(*failure);
    m_dateReply.clear();
    if (auto failure = mergeReadResult(m_c.workDir, m_read))
        return failed(*failure);
    return {Kind::Finished, std::nullopt};
}

bool PhoneRead::listMessages() {
    m_c.progress.setTextVisible(false);
    m_stepSize = 1;
    m_dateReply.clear();
    m_reply.clear();
    if (!m_line.reopen())
        return false;
    step();
    // The phone answers the set-up commands together; the read relies on its
    // echo, not on those answers.
    if (!m_line.exchange({"AT", "AT+CMGF=1", "AT+CSCS=UCS2", "AT+CPBS=\"MT\""}))
        return false;
    if (!m_line.send("at+mmgl=\"ALL\""))
        return false;
    step();
    const auto listing = m_line.reply();
    if (!listing)
        return false;
    m_reply.add(*listing);
    step();
    m_stepSize = 20;
    return true;
}

void PhoneRead::sortListing() {
    parseListingFolder(m_reply, FolderKind::Inbox, m_bounds, m_read.inbox);
    parseListingFolder(m_reply, FolderKind::Outbox, m_bounds, m_read.outbox);
    m_stepSize = 1;
    m_c.progress.setMaximum(m_reply.count() + 7);
    parseListingFolder(m_reply, FolderKind::Draft, m_bounds, m_read.draft);
    // One step per line number the Draft pass visits, past 100 if need be.
    m_c.progress.setPosition(m_c.progress.position() + m_reply.count() + 1);
}

std::optional<ReadOutcome> PhoneRead::readDates() {
    const auto count = m_read.inbox.count();
    if (!count) {
        commit();
        return failed(Failure::notInteger(cp1251::toUnicode(m_read.inbox.countMark)));
    }
    for (int k = 1; k <= *count; ++k) {
        m_dateReply.clear();
        // A bare AT first takes whatever the phone still had to say, so the
        // +CMGR reply starts with its own echo and the header is its line 1.
        if (!m_line.exchange({"AT"}) || !m_line.send("AT+CMGR=" + m_read.inbox.at(k).index))
            return lost(m_line);
        const auto reply = m_line.reply();
        if (!reply)
            return lost(m_line);
        m_dateReply.add(*reply);
        step();
        m_read.inbox.at(k).date = parseCmgrDate(m_dateReply);
        // The phone may be unplugged while the window handles its events.
    }
    return std::nullopt;
}

std::optional<std::vector<PhonebookEntry>> PhoneRead::fetchPhonebook() {
    // The first reply holds the answer to the storage switch as well; asking
    // for the range again gives a reply with the range alone.
    if (!m_line.exchange({"AT+CPBS=\"MT\"", "AT+CPBR=?"}))
        return std::nullopt;
    const auto range = m_line.exchange({"AT+CPBR=?"});
    if (!range)
        return std::nullopt;
    m_reply.clear();
    if (!m_line.send("at+cpbr=1," + parsePhonebookRangeEnd(*range)))
        return std::nullopt;
    step();
    const auto reply = m_line.reply();
    if (!reply)
        return std::nullopt;
    m_reply.add(*reply);
    step();
    return parsePhonebookEntries(m_reply);
}

MaybeFailure PhoneRead::storePhonebook(std::vector<PhonebookEntry> entries) {
    // A phone that lists no entry keeps the phonebook already known.
    if (!entries.empty()) {
        m_c.phonebook.countText = std::to_string(2 * entries.size() + 1);
        m_c.phonebook.entries = std::move(entries);
    }
    m_dateReply.clear();
    return savePhonebook(m_c.workDir, m_c.phonebook);
}

} // namespace

ReadOutcome readPhone(ReadContext& context) {
    return PhoneRead(context).run();
}

} // namespace qb
