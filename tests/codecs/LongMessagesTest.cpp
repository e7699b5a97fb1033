// Joining the parts of long messages.
#include "codecs/LongMessages.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

struct Part {
    const char* storage = "SM";
    int index = 1;
    PduKind kind = PduKind::Deliver;
    const char16_t* number = u"+79161234567";
    int reference = 7;
    int count = 3;
    int sequence = 1;
    const char16_t* text = u"";
    int second = 0; // of the time stamp; -1: none
    const char16_t* centre = u"+79168999110";
    StoredStatus status = StoredStatus::ReceivedRead;
};

StoredPdu stored(const Part& p) {
    StoredPdu s;
    s.location = {p.storage, p.index};
    s.status = p.status;
    s.pdu.kind = p.kind;
    s.pdu.address = {u(p.number), AddressKind::International};
    s.pdu.serviceCentre = u(p.centre);
    s.pdu.text = u(p.text);
    if (p.count > 0)
        s.pdu.part = ConcatPart{p.reference, p.count, p.sequence};
    if (p.second >= 0)
        s.pdu.time = SmsTime{QDate(2012, 4, 25), QTime(19, 56, p.second), -240};
    return s;
}

JoinedMessages join(const std::vector<Part>& parts) {
    std::vector<StoredPdu> all;
    for (const Part& p : parts)
        all.push_back(stored(p));
    return joinLongMessages(std::move(all));
}

std::vector<StorageLocation> at(std::initializer_list<StorageLocation> locations) {
    return locations;
}

} // namespace

TEST(LongMessages, PartsInAnyOrderFromAnyStorageBecomeOneMessage) {
    const JoinedMessages r = join({
        {.storage = "ME", .index = 9, .sequence = 3, .text = u"three", .second = 52},
        {.storage = "SM", .index = 2, .sequence = 1, .text = u"one ", .second = 50},
        {.storage = "ME", .index = 4, .sequence = 2, .text = u"two ", .second = 51},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    const JoinedMessage& m = r.messages[0];
    EXPECT_EQ(m.text, u"one two three");
    EXPECT_EQ(m.locations, at({{"SM", 2}, {"ME", 4}, {"ME", 9}}));
    EXPECT_EQ(m.parts, 3);
    EXPECT_EQ(m.missingParts, 0);
    ASSERT_TRUE(m.time);
    EXPECT_EQ(m.time->time, QTime(19, 56, 50));
    EXPECT_EQ(r.incompleteMessages, 0);
}

TEST(LongMessages, ServiceCentreAndTimeStampDoNotKeepPartsApart) {
    const JoinedMessages r = join({
        {.count = 2, .sequence = 1, .text = u"This is ", .second = 50, .centre = u"+12063130025"},
        {.count = 2, .sequence = 2, .text = u"whole", .second = 51, .centre = u"+12063130026"},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, u"This is whole");
}

TEST(LongMessages, ReferenceNumberCountAndKindKeepMessagesApart) {
    const JoinedMessages r = join({
        {.index = 1, .count = 2, .sequence = 1, .text = u"a"},
        {.index = 2, .reference = 8, .count = 2, .sequence = 2, .text = u"b"},
        {.index = 3, .number = u"+79030000000", .count = 2, .sequence = 2, .text = u"c"},
        {.index = 4, .count = 3, .sequence = 2, .text = u"d"},
        {.index = 5,
         .kind = PduKind::Submit,
         .count = 2,
         .sequence = 2,
         .text = u"e",
         .second = -1,
         .status = StoredStatus::StoredSent},
    });
    ASSERT_EQ(r.messages.size(), 5u);
    EXPECT_EQ(r.incompleteMessages, 5);
    EXPECT_EQ(r.missingParts, 6);
}

TEST(LongMessages, AMissingPartIsMarkedInItsPlaceAndCounted) {
    const JoinedMessages r = join({
        {.index = 1, .count = 4, .sequence = 1, .text = u"one "},
        {.index = 3, .count = 4, .sequence = 3, .text = u" three"},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, u(u"one ") + MissingPartMark + u(u" three") + MissingPartMark);
    EXPECT_EQ(r.messages[0].missingParts, 2);
    EXPECT_EQ(r.messages[0].locations, at({{"SM", 1}, {"SM", 3}}));
    EXPECT_EQ(r.incompleteMessages, 1);
    EXPECT_EQ(r.missingParts, 2);
}

TEST(LongMessages, APartHeldTwiceIsOnePartInTwoPlaces) {
    const JoinedMessages r = join({
        {.storage = "SM", .index = 1, .count = 2, .sequence = 1, .text = u"same "},
        {.storage = "ME", .index = 5, .count = 2, .sequence = 1, .text = u"same "},
        {.storage = "ME", .index = 6, .count = 2, .sequence = 2, .text = u"end"},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, u"same end");
    EXPECT_EQ(r.messages[0].locations, at({{"SM", 1}, {"ME", 5}, {"ME", 6}}));
}

TEST(LongMessages, AReferenceComingRoundAgainMakesTwoMessagesMatchedByTime) {
    // A sender's 8-bit reference repeats after 256 long messages; the parts
    // are listed out of order, and each finds the message sent with it.
    const JoinedMessages r = join({
        {.index = 1, .count = 2, .sequence = 1, .text = u"old ", .second = 1},
        {.index = 2, .count = 2, .sequence = 2, .text = u"new end", .second = 41},
        {.index = 3, .count = 2, .sequence = 1, .text = u"new ", .second = 40},
        {.index = 4, .count = 2, .sequence = 2, .text = u"old end", .second = 2},
    });
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, u"old old end");
    EXPECT_EQ(r.messages[0].locations, at({{"SM", 1}, {"SM", 4}}));
    EXPECT_EQ(r.messages[1].text, u"new new end");
}

TEST(LongMessages, SingleMessagesPassThroughAndStatusReportsAreCounted) {
    const JoinedMessages r = join({
        {.index = 1, .count = 0, .text = u"short"},
        {.index = 2, .kind = PduKind::StatusReport, .count = 0},
        {.index = 3, .count = 1, .sequence = 1, .text = u"one of one"},
        {.index = 4, .kind = PduKind::StatusReport, .count = 0},
    });
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, u"short");
    EXPECT_EQ(r.messages[1].text, u"one of one");
    EXPECT_EQ(r.messages[1].locations, at({{"SM", 3}}));
    EXPECT_EQ(r.statusReports, 2);
}

TEST(LongMessages, MessagesComeInTheOrderTheirFirstPartWasListed) {
    const JoinedMessages r = join({
        {.index = 1, .count = 0, .text = u"first"},
        {.index = 2, .count = 2, .sequence = 2, .text = u"long", .second = 9},
        {.index = 3, .count = 0, .text = u"third", .second = 1},
        {.index = 4, .count = 2, .sequence = 1, .text = u"the ", .second = 8},
    });
    ASSERT_EQ(r.messages.size(), 3u);
    EXPECT_EQ(r.messages[0].text, u"first");
    EXPECT_EQ(r.messages[1].text, u"the long");
    EXPECT_EQ(r.messages[2].text, u"third");
}

TEST(LongMessages, AnUnreadPartMakesTheMessageUnread) {
    const JoinedMessages r = join({
        {.count = 2, .sequence = 1, .text = u"a"},
        {.index = 2,
         .count = 2,
         .sequence = 2,
         .text = u"b",
         .status = StoredStatus::ReceivedUnread},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].status, StoredStatus::ReceivedUnread);
}

TEST(LongMessages, EightBitPartsAreDumpedAsOneDataRun) {
    std::vector<StoredPdu> parts;
    for (int sequence : {2, 1}) {
        StoredPdu s = stored({.index = sequence, .count = 3, .sequence = sequence});
        s.pdu.coding = TextCoding::EightBit;
        s.pdu.data = QByteArray(1, char(0xA0 + sequence));
        s.pdu.text = markedHexDump(s.pdu.data);
        parts.push_back(s);
    }
    const JoinedMessages r = joinLongMessages(parts);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, u(u"[8-bit: A1 A2]") + MissingPartMark);
}

TEST(LongMessages, SurrogatePairsSplitBetweenPartsAreWholeAgain) {
    const JoinedMessages r = join({
        {.count = 2, .sequence = 2, .text = u"\xDE00!"},
        {.index = 2, .count = 2, .sequence = 1, .text = u"A\xD83D"},
    });
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, u"A😀!");
}
