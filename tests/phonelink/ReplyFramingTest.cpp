// Where a reply to a group of commands starts and ends, from its bytes alone.
#include "phonelink/ReplyFraming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qb;
using Commands = std::vector<std::string>;

namespace {

const Commands SetUpCommands = {"AT", "AT+CMGF=1", "AT+CSCS=UCS2", "AT+CPBS=\"MT\""};
const std::string SetUpAnswers = "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n"
                                 "AT+CPBS=\"MT\"\r\r\nOK\r\n";

// UCS2 hex of ASCII text, as the phone sends texts and names.
std::string ucs2(const std::string& ascii) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : ascii)
        hex += std::string("00") + digits[c >> 4] + digits[c & 15];
    return hex;
}

struct Framed {
    std::string reply;
    std::vector<std::string> codes;
    bool complete = false;
    std::size_t taken = 0;
};

Framed frame(const Commands& commands, const std::string& bytes) {
    ReplyFraming framing(commands);
    Framed framed;
    framed.taken = framing.feed(bytes);
    framed.reply = framing.reply();
    for (const FinalCode& code : framing.codes())
        framed.codes.push_back(code.line);
    framed.complete = framing.complete();
    return framed;
}

} // namespace

TEST(FinalCodes, EveryKindWithItsNumber) {
    struct Case {
        std::string line;
        FinalCode::Kind kind;
        std::optional<int> number;
    };
    using Kind = FinalCode::Kind;
    const Case cases[] = {{"OK", Kind::Ok, {}},
                          {"ERROR", Kind::Error, {}},
                          {"+CMS ERROR: 321", Kind::CmsError, 321},
                          {"+CMS ERROR:500", Kind::CmsError, 500},
                          {"+CME ERROR: 21", Kind::CmeError, 21},
                          {"+CME ERROR: invalid index", Kind::CmeError, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto code = parseFinalCode(c.line);
        ASSERT_TRUE(code);
        EXPECT_EQ(code->kind, c.kind);
        EXPECT_EQ(code->number, c.number);
        EXPECT_EQ(code->line, c.line);
        EXPECT_EQ(code->isError(), c.kind != Kind::Ok);
    }
    for (const char* line : {"OKAY", " OK", "OK ", "ok", "ERRORS", "+CMS ERROR", "NO CARRIER", ""})
        EXPECT_FALSE(parseFinalCode(line)) << line;
}

TEST(FinalCodes, UnsolicitedLinesAreToldApart) {
    for (const char* line : {"RING", "+CMTI: \"ME\",5", "+MBAN: Copyright 2000-2002 Motorola, Inc.",
                             "+CREG: 1", "+CLIP: \"+7916\",145", "NO CARRIER"})
        EXPECT_TRUE(isUnsolicitedLine(line)) << line;
    for (const char* line :
         {"RINGS", "+MMGL: 1, \"REC READ\"", "+CMGR: \"REC READ\"", "OK", "", "0052004900470047"})
        EXPECT_FALSE(isUnsolicitedLine(line)) << line;
}

TEST(ReplyFraming, CommandsSentTogetherEndAtTheirLastCode) {
    ReplyFraming framing(SetUpCommands);
    EXPECT_EQ(framing.feed(SetUpAnswers.substr(0, SetUpAnswers.size() - 1)),
              SetUpAnswers.size() - 1);
    EXPECT_EQ(framing.codes().size(), 3u);
    EXPECT_FALSE(framing.complete());
    EXPECT_EQ(framing.feed("\n\r\nlater"), 1u); // what follows is the next reply's
    EXPECT_TRUE(framing.complete());
    EXPECT_EQ(framing.reply(), SetUpAnswers);
}

TEST(ReplyFraming, EveryCutAndByteByByteGiveTheSameReply) {
    const std::string reply =
        "AT+CMGR=5\r\r\n+CMGR: \"REC READ\"\r\n0041\r\n\r\n+CMS ERROR: 500\r\n";
    for (std::size_t cut = 0; cut <= reply.size(); ++cut) {
        ReplyFraming framing({"AT+CMGR=5"});
        framing.feed(reply.substr(0, cut));
        EXPECT_EQ(framing.complete(), cut == reply.size()) << cut;
        framing.feed(reply.substr(cut));
        ASSERT_TRUE(framing.complete()) << cut;
        EXPECT_EQ(framing.reply(), reply);
        EXPECT_EQ(framing.codes().at(0).number, 500);
    }
    ReplyFraming bytewise(SetUpCommands);
    for (const char c : SetUpAnswers)
        bytewise.feed(std::string(1, c));
    EXPECT_TRUE(bytewise.complete());
    EXPECT_EQ(bytewise.reply(), SetUpAnswers);
}

// What an abandoned reply leaves on the line is no part of the next one:
// before the first echo it is dropped, and a code is only taken for a command
// whose echo has come.
TEST(ReplyFraming, LeftoversOfAnAbandonedReplyDoNotShiftTheNext) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string reply;
    };
    const std::string listingTail = "+MMGL: 9, \"REC READ\", \"+7\"\r\n0041\r\n\r\nOK\r\n";
    const Case cases[] = {
        {"stale code first", "\r\nOK\r\n" + SetUpAnswers, SetUpAnswers},
        {"stale AT answer first", "AT\r\r\nOK\r\n" + SetUpAnswers,
         "AT\r\r\nOK\r\nAT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n"
         "AT+CPBS=\"MT\"\r\r\nOK\r\n"},
        {"a listing's tail after the first echo", "AT\r\r\n" + listingTail + SetUpAnswers.substr(5),
         "AT\r\r\n" + listingTail + SetUpAnswers.substr(5)},
        {"a broken line in front of the echo", "0041004" + SetUpAnswers, SetUpAnswers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Framed framed = frame(SetUpCommands, c.bytes + "\r\nnext");
        EXPECT_TRUE(framed.complete);
        EXPECT_EQ(framed.reply, c.reply);
        EXPECT_EQ(framed.codes.size(), 4u);
        EXPECT_EQ(framed.taken, c.bytes.size());
    }
    // No echo at all: nothing is this reply's.
    const Framed none = frame({"AT+CMGR=3"}, "\r\n+CMGR: \"REC READ\"\r\n0041\r\n\r\nOK\r\n");
    EXPECT_FALSE(none.complete);
    EXPECT_EQ(none.reply, "");
}

TEST(ReplyFraming, UnsolicitedLinesNeitherEndNorShiftTheReply) {
    const std::string entries = "at+cpbr=1,250\r\r\n+CPBR: 1,\"+7916\",145,0041\r\n\r\n"
                                "+CPBR: 2,\"112\",129,0042\r\n\r\nOK\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"RING between entries", "at+cpbr=1,250\r\r\n+CPBR: 1,\"+7916\",145,0041\r\n\r\nRING\r\n"
                                 "\r\n+CPBR: 2,\"112\",129,0042\r\n\r\nOK\r\n"},
        {"a new message before the code",
         "at+cpbr=1,250\r\r\n+CPBR: 1,\"+7916\",145,0041\r\n\r\n+CPBR: 2,\"112\",129,0042\r\n\r\n"
         "\r\n+CMTI: \"ME\",9\r\nOK\r\n"},
        {"a message delivered whole, on two lines",
         "at+cpbr=1,250\r\r\n+CPBR: 1,\"+7916\",145,0041\r\n\r\n\r\n+CMT: \"+7\",,\"09/01/01\"\r\n"
         "Hi there\r\n+CPBR: 2,\"112\",129,0042\r\n\r\nOK\r\n"},
        {"the banner before the echo",
         "\r\n+MBAN: Copyright 2000-2002 Motorola, Inc.\r\n" + entries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Framed framed = frame({"at+cpbr=1,250"}, c.bytes);
        EXPECT_TRUE(framed.complete);
        EXPECT_EQ(framed.reply, entries);
    }
}

TEST(ReplyFraming, OnlyWholeLinesEndedByCrLfAreCodes) {
    for (const char* bytes : {"AT\r\r\nOK", "AT\r\r\nOK\r", "AT\r\r\nOK\n", "AT\r\r\nOKAY\r\n",
                              "AT\r\r\n OK\r\n", "AT\r\r\n+CMS ERROR\r\n"})
        EXPECT_FALSE(frame({"AT"}, bytes).complete) << bytes;
    EXPECT_TRUE(frame({"AT"}, "AT\r\r\nOK\r\r\n").complete);
    // Texts in UCS2 hex never spell a code; a listing ends at its own.
    const std::string listing = "at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\", \"+7916\"\r\n" +
                                ucs2("OK") + "\r\n+MMGL: 2, \"STO SENT\", \"+7916\"\r\n" +
                                ucs2("ERROR") + "\r\n" + ucs2("12") + "\r\n";
    EXPECT_FALSE(frame({"at+mmgl=\"ALL\""}, listing).complete);
    EXPECT_TRUE(frame({"at+mmgl=\"ALL\""}, listing + "\r\nOK\r\n").complete);
    const std::string longLine(5000, 'A');
    EXPECT_FALSE(frame({"AT"}, "AT\r\r\n" + longLine + "OK\r\n").complete);
    EXPECT_TRUE(frame({"AT"}, "AT\r\r\n+CME ERROR: " + longLine + "\r\n").complete);
}

TEST(ReplyFraming, AZeroByteLeavesTheEndToTheQuietLine) {
    const std::string bytes("AT\r\r\n\0OK\r\nmore", 14);
    ReplyFraming framing({"AT"});
    EXPECT_EQ(framing.feed(bytes), bytes.size());
    EXPECT_TRUE(framing.blind());
    EXPECT_FALSE(framing.complete());
    EXPECT_EQ(framing.reply(), bytes);
    // Before the echo a zero byte is only a leftover.
    ReplyFraming early({"AT"});
    early.feed(std::string("\0\r\nAT\r\r\nOK\r\n", 12));
    EXPECT_FALSE(early.blind());
    EXPECT_TRUE(early.complete());
}

TEST(ReplyFraming, WithoutCommandsEveryByteIsTheReply) {
    ReplyFraming framing;
    const std::string bytes("\r\nRING\r\n\0OK\r\n", 13);
    EXPECT_EQ(framing.feed(bytes), bytes.size());
    EXPECT_TRUE(framing.begun());
    EXPECT_FALSE(framing.complete());
    EXPECT_EQ(framing.reply(), bytes);
}
