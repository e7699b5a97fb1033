// The +MMGL listing passes and the +CMGR date.
#include "reading/MessageReplies.h"

#include "archive/RecordLines.h"

#include "Captures.h"
#include "ScriptedPhone.h"

#include <gtest/gtest.h>

using namespace qb;
using qb::test::ucs2;
using namespace std::string_literals;

namespace {

LineList lines(const std::string& reply) {
    LineList list;
    list.add(reply);
    return list;
}

const std::string MixedListing = "at+mmgl=\"ALL\"\r\n"
                                 "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"\r\n" +
                                 ucs2("Hi") +
                                 "\r\n"
                                 "+MMGL: 12, \"STO SENT\", \"+79160000001\"\r\n" +
                                 ucs2("Sent") +
                                 "\r\n"
                                 "+MMGL: 12, \"REC READ\", \"+79160000002\"\r\n041C0430043C0430\r\n"
                                 "+MMGL: 7, \"STO UNSENT\", \"+79160000003\"\r\n\r\n"
                                 "OK\r\n";

ReadResult sortListing(const LineList& listing, ReadResult result = {}) {
    CarriedFieldBounds bounds;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        parseListingFolder(listing, kind, bounds, result.folder(kind));
    return result;
}

} // namespace

TEST(MmglListing, SortsMessagesIntoFoldersByStatus) {
    const ReadResult read = sortListing(lines(MixedListing));
    ASSERT_EQ(read.inbox.size(), 2u);
    EXPECT_EQ(read.inbox[0].folder, FolderKind::Inbox);
    EXPECT_EQ(read.inbox[0].status, MessageStatus::Unread);
    EXPECT_EQ(read.inbox[0].index, 3);
    EXPECT_EQ(read.inbox[0].number, "+79161234567");
    EXPECT_EQ(read.inbox[0].text, "Hi");
    EXPECT_EQ(read.inbox[0].stored.header, "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"");
    EXPECT_EQ(read.inbox[1].status, MessageStatus::Read);
    EXPECT_EQ(read.inbox[1].index, 12);
    EXPECT_EQ(read.inbox[1].text, "\xCC\xE0\xEC\xE0");

    ASSERT_EQ(read.outbox.size(), 1u);
    EXPECT_EQ(read.outbox[0].index, 12);
    EXPECT_EQ(record::indexLine(view(read.outbox[0])), " 12"); // sent and unsent keep the blank
    EXPECT_EQ(read.outbox[0].status, MessageStatus::Sent);
    EXPECT_EQ(read.outbox[0].number, "+79160000001");
    EXPECT_EQ(read.outbox[0].text, "Sent");

    ASSERT_EQ(read.draft.size(), 1u);
    EXPECT_EQ(record::indexLine(view(read.draft[0])), " 7");
    EXPECT_EQ(read.draft[0].status, MessageStatus::Unsent);
    EXPECT_EQ(read.draft[0].text, "");
}

// Indexes the phone lists with leading zeros are asked for and stored as it
// listed them.
TEST(MmglListing, KeepsAnIndexAsThePhoneListedIt) {
    const ReadResult read =
        sortListing(lines("at+mmgl=\"ALL\"\r\n+MMGL: 007, \"REC READ\", \"+7\"\r\n"
                          "0041\r\n+MMGL: 08, \"STO SENT\", \"+7\"\r\n0041\r\n"));
    ASSERT_EQ(read.inbox.size(), 1u);
    EXPECT_EQ(read.inbox[0].index, 7);
    EXPECT_EQ(record::indexLine(view(read.inbox[0])), "007");
    EXPECT_EQ(read.inbox[0].number, "+7");
    EXPECT_EQ(record::indexLine(view(read.outbox.at(0))), " 08");
}

TEST(MmglListing, AListingWithHeadersOfOtherFoldersOnlyEmptiesThem) {
    ReadResult earlier;
    earlier.outbox.resize(2);
    const ReadResult read = sortListing(
        lines("at+mmgl=\"ALL\"\r\n+MMGL: 4, \"REC READ\", \"+7\"\r\n0041\r\nOK\r\n"), earlier);
    EXPECT_TRUE(read.outbox.empty());
    EXPECT_TRUE(read.draft.empty());
    EXPECT_EQ(read.inbox.size(), 1u);
}

TEST(MmglListing, WithoutLongLinesLeavesTheFoldersAlone) {
    ReadResult earlier;
    earlier.inbox.resize(5);
    const ReadResult read = sortListing(lines("at+mmgl=\"ALL\"\r\nERROR\r\n"), earlier);
    EXPECT_EQ(read.inbox.size(), 5u);
    EXPECT_TRUE(read.outbox.empty());
}

TEST(MmglListing, PassesOverUnknownStatusesAndDecodesWhateverFollowsAHeader) {
    const ReadResult read = sortListing(lines("at+mmgl=\"ALL\"\r\n"
                                              "+MMGL: 1, \"STO DRAFT\", \"+7\"\r\n0041\r\n"
                                              "+MMGL: 2, \"REC READ\", \"+7\"\r\n"
                                              "+MMGL: 5, \"REC READ\", \"+7\"\r\n"));
    EXPECT_TRUE(read.outbox.empty());
    EXPECT_TRUE(read.draft.empty());
    ASSERT_EQ(read.inbox.size(), 2u);
    EXPECT_EQ(read.inbox[0].index, 2);
    EXPECT_EQ(read.inbox[1].index, 5);
    EXPECT_EQ(read.inbox[1].text, ""); // header without a text line
}

TEST(MmglListing, TellsAListingWithMessagesFromOneWithout) {
    // A first message with an empty text leaves the third line empty.
    EXPECT_TRUE(listingHoldsMessages(
        lines("at+mmgl=\"ALL\"\r\n+MMGL: 1, \"STO SENT\", \"+7\"\r\n\r\nOK\r\n")));
    EXPECT_FALSE(listingHoldsMessages(lines("at+mmgl=\"ALL\"\r\nOK\r\n")));
    EXPECT_FALSE(listingHoldsMessages(lines("at+mmgl=\"ALL\"\r\n+CMS ERROR: 321\r\n")));
    EXPECT_FALSE(listingHoldsMessages(
        lines("at+mmgl=\"ALL\"\r\n+MMGL: 1, \"STO DRAFT\", \"+7\"\r\nOK\r\n")));
    EXPECT_FALSE(listingHoldsMessages(lines("")));
    EXPECT_FALSE(listingHoldsMessages(
        lines("at+mmgl=\"ALL\"\r\n\0+MMGL: 1, \"STO SENT\", \"+7\"\r\n0041"s)));
}

namespace {

// The date line a received message gets from an +CMGR reply.
std::string dateOf(const std::string& reply) {
    Message message;
    record::setStamp(message, parseCmgrStamp(lines(reply)));
    std::string line;
    record::appendDateLine(line, view(message));
    return line;
}

} // namespace

TEST(CmgrDate, MotorolaL7TextModeReply) {
    EXPECT_EQ(dateOf(test::capturedReply("cmgr-text-motorola-l7.dump")), "18/08/2009,19:11:45");
    Message message;
    record::setStamp(message,
                     parseCmgrStamp(lines(test::capturedReply("cmgr-text-motorola-l7.dump"))));
    EXPECT_EQ(message.time, (MessageTime{2009, 8, 18, 19, 11, 45}));
}

// A time that cannot be read is "no time", never a date made of reply fragments.
TEST(CmgrDate, WithoutATimeStampThereIsNoTime) {
    for (const char* reply :
         {"AT+CMGR=3\r\n", "", "AT+CMGR=3\r\nOK\r\n", "AT+CMGR=3\r\n+CMS ERROR: 500\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\"\r\n0041\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"\"\r\n0041\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"yesterday/noon\"\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMG\r\nR: \"REC READ\", \"+7916\", \"2005/1/2,9:5:3\"\r\n"}) {
        EXPECT_FALSE(parseCmgrStamp(lines(reply))) << reply;
        EXPECT_EQ(dateOf(reply), "") << reply;
    }
}

// A time stamp that is there is normalised as it always was, odd cases and all;
// those give no time but keep their date line.
TEST(CmgrDate, TimeStampsAreNormalisedAsAlways) {
    const auto stamped = [](const std::string& stamp) {
        return "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"" + stamp + "\"\r\nOK\r\n";
    };
    EXPECT_EQ(dateOf(stamped("2005/1/2,9:5:3")), "02/01/2005,09:05:03");
    EXPECT_EQ(dateOf(stamped("05/01/02,12:34:56+12")), "02/01/05/0,12:34:56+12");
    EXPECT_EQ(dateOf(stamped("2005/01/02,12:34")), "02/01/2005,12:00:00");
    EXPECT_EQ(parseCmgrStamp(lines(stamped("05/01/02,12:34:56+12"))), "05/01/02,12:34:56+12");
    Message twoDigitYear;
    record::setStamp(twoDigitYear, parseCmgrStamp(lines(stamped("05/01/02,12:34:56+12"))));
    EXPECT_EQ(twoDigitYear.time, (MessageTime{2005, 1, 2, 12, 34, 56}));
}

TEST(CmgrReply, AnotherMessagesHeaderIsNoAnswerForThisOne) {
    const std::string listed = "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"";
    const auto check = [&](const std::string& header) {
        return checkCmgrReply(lines("AT+CMGR=3\r\n" + header + "\r\n0041\r\nOK\r\n"), listed);
    };
    EXPECT_FALSE(check("+CMGR: \"REC UNREAD\", \"+79161234567\", \"2005/1/2,9:5:3\""));
    EXPECT_FALSE(check("+CMGR: \"REC READ\",\"+79161234567\",,\"2005/1/2,9:5:3\""));
    EXPECT_FALSE(check("OK"));           // no header: no time, but no other message either
    EXPECT_FALSE(check("+CMGR: 0,,23")); // no number to compare
    for (const std::string other : {"+CMGR: \"REC READ\", \"+79035550000\", \"2005/1/3,9:5:3\"",
                                    "+MMGL: 5, \"REC READ\", \"+79161234567\""}) {
        const auto problem = check(other);
        ASSERT_TRUE(problem) << other;
        EXPECT_EQ(problem->mismatch, ReplyMismatch::OtherMessage);
        EXPECT_EQ(problem->subject, other);
    }
}

TEST(MmglListing, ListingsThatFitPassTheCheck) {
    EXPECT_FALSE(checkListing(
        lines(MixedListing.substr(0, MixedListing.find("+MMGL: 12, \"REC")) + "OK\r\n")));
    EXPECT_FALSE(checkListing(lines("at+mmgl=\"ALL\"\r\nOK\r\n")));
    EXPECT_FALSE(checkListing(lines("at+mmgl=\"ALL\"\r\n")));
    // Another status is passed over with its text, whatever that holds.
    EXPECT_FALSE(checkListing(
        lines("at+mmgl=\"ALL\"\r\n+MMGL: 1, \"STO DRAFT\", \"+7\"\r\nxyz\r\n\r\nOK\r\n")));
    // Lower-case digits and an empty text are digits all the same; index 0 is an index.
    EXPECT_FALSE(
        checkListing(lines("at+mmgl=\"ALL\"\r\n+MMGL: 0, \"REC READ\", \"+7\"\r\n"
                           "041a\r\n+MMGL: 123456789, \"STO SENT\", \"+7\"\r\n\r\nOK\r\n")));
}

// The read always finds its echo on line 0; any other first line is checked.
TEST(MmglListing, TheFirstLineIsCheckedUnlessItIsTheEcho) {
    const auto problem = checkListing(lines("+MMGL: x, \"REC READ\", \"+7\"\r\n0041\r\nOK\r\n"));
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->mismatch, ReplyMismatch::BadIndex);
    EXPECT_EQ(checkListing(lines("AT+CMGR=3\r\nOK\r\n"))->mismatch, ReplyMismatch::UnexpectedLine);
}

// The folder passes take every line for a possible header, so the check does
// too, also right after a header of another status (found by fuzzing).
TEST(MmglListing, AHeaderWhereAnotherStatusHasItsTextIsChecked) {
    const auto problem = checkListing(lines("at+mmgl=\"ALL\"\r\n+MMGL: 1, \"STO DRAFT\", \"+7\"\r\n"
                                            "+MMGL: 1r, \"STO SENT\", \"+7\"\r\n0041\r\nOK\r\n"));
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->mismatch, ReplyMismatch::BadIndex);
    EXPECT_EQ(problem->subject, "1r");
}

// A reply line keeps a lone CR or LF; in a header it would break the archive's
// one-line-per-field layout, so such a listing is not believed.
TEST(MmglListing, AHeaderHoldingALineBreakIsRefused) {
    for (const char* inside : {"\r", "\n"}) {
        const std::string header = "+MMGL: 3, \"REC READ\"," + std::string(inside) + " \"+7\"";
        const auto problem =
            checkListing(lines("at+mmgl=\"ALL\"\r\n" + header + "\r\n0041\r\nOK\r\n"));
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->mismatch, ReplyMismatch::UnexpectedLine);
        EXPECT_EQ(problem->subject, header);
    }
}
