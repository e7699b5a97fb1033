// The +MMGL listing passes and the +CMGR date.
#include "reading/MessageReplies.h"

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
    ASSERT_EQ(read.inbox.countMark, "1");
    EXPECT_EQ(read.inbox.entries[0].status, "REC UNREAD");
    EXPECT_EQ(read.inbox.entries[0].index, "3");
    EXPECT_EQ(read.inbox.entries[0].text, "Hi");
    EXPECT_EQ(read.inbox.entries[0].header, "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"");
    EXPECT_EQ(read.inbox.entries[1].status, "REC READ");
    EXPECT_EQ(read.inbox.entries[1].index, "12");
    EXPECT_EQ(read.inbox.entries[1].text, "\xCC\xE0\xEC\xE0");

    ASSERT_EQ(read.outbox.countMark, "0");
    EXPECT_EQ(read.outbox.entries[0].index, " 12"); // sent and unsent keep the blank
    EXPECT_EQ(read.outbox.entries[0].status, "STO SENT");
    EXPECT_EQ(read.outbox.entries[0].text, "Sent");

    ASSERT_EQ(read.draft.countMark, "0");
    EXPECT_EQ(read.draft.entries[0].index, " 7");
    EXPECT_EQ(read.draft.entries[0].text, "");
}

TEST(MmglListing, LeavesPositionsAboveTheCountAsAnEarlierReadLeftThem) {
    ReadResult earlier;
    earlier.outbox.countMark = "1";
    earlier.outbox.at(2).text = "old";
    const ReadResult read = sortListing(
        lines("at+mmgl=\"ALL\"\r\n+MMGL: 4, \"REC READ\", \"+7\"\r\n0041\r\nOK\r\n"), earlier);
    EXPECT_EQ(read.outbox.countMark, "-1");
    EXPECT_EQ(read.draft.countMark, "-1");
    EXPECT_EQ(read.outbox.entries[1].text, "old");
}

TEST(MmglListing, WithoutLongLinesLeavesTheCountAlone) {
    ReadResult earlier;
    earlier.inbox.countMark = "4";
    const ReadResult read = sortListing(lines("at+mmgl=\"ALL\"\r\nERROR\r\n"), earlier);
    EXPECT_EQ(read.inbox.countMark, "4");
    EXPECT_EQ(read.outbox.countMark, "");
}

TEST(MmglListing, PassesOverUnknownStatusesAndDecodesWhateverFollowsAHeader) {
    const ReadResult read = sortListing(lines("at+mmgl=\"ALL\"\r\n"
                                              "+MMGL: 1, \"STO DRAFT\", \"+7\"\r\n0041\r\n"
                                              "+MMGL: 2, \"REC READ\", \"+7\"\r\n"
                                              "+MMGL: 5, \"REC READ\", \"+7\"\r\n"));
    EXPECT_EQ(read.outbox.countMark, "-1");
    EXPECT_EQ(read.draft.countMark, "-1");
    ASSERT_EQ(read.inbox.countMark, "1");
    EXPECT_EQ(read.inbox.entries[0].index, "2");
    EXPECT_EQ(read.inbox.entries[1].index, "5");
    EXPECT_EQ(read.inbox.entries[1].text, ""); // header without a text line
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

TEST(CmgrDate, MotorolaL7TextModeReply) {
    EXPECT_EQ(parseCmgrDate(lines(test::capturedReply("cmgr-text-motorola-l7.dump"))),
              "18/08/2009,19:11:45");
}

// A time that cannot be read is "no time", never a date made of reply fragments.
TEST(CmgrDate, WithoutATimeStampThereIsNoTime) {
    for (const char* reply :
         {"AT+CMGR=3\r\n", "", "AT+CMGR=3\r\nOK\r\n", "AT+CMGR=3\r\n+CMS ERROR: 500\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\"\r\n0041\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"\"\r\n0041\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"yesterday/noon\"\r\nOK\r\n",
          "AT+CMGR=3\r\n+CMG\r\nR: \"REC READ\", \"+7916\", \"2005/1/2,9:5:3\"\r\n"})
        EXPECT_EQ(parseCmgrDate(lines(reply)), "") << reply;
}

// A time stamp that is there is normalised as it always was, odd cases and all.
TEST(CmgrDate, TimeStampsAreNormalisedAsAlways) {
    const auto dateOf = [](const std::string& stamp) {
        return parseCmgrDate(
            lines("AT+CMGR=3\r\n+CMGR: \"REC READ\", \"+7916\", \"" + stamp + "\"\r\nOK\r\n"));
    };
    EXPECT_EQ(dateOf("2005/1/2,9:5:3"), "02/01/2005,09:05:03");
    EXPECT_EQ(dateOf("05/01/02,12:34:56+12"), "02/01/05/0,12:34:56+12");
    EXPECT_EQ(dateOf("2005/01/02,12:34"), "02/01/2005,12:00:00");
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
