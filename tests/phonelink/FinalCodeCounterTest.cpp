// When a reply holds the final result codes of the commands it answers.
#include "phonelink/FinalCodeCounter.h"

#include <gtest/gtest.h>

#include <string>

using namespace qb;

namespace {

int codesIn(const std::string& reply) {
    FinalCodeCounter counter(0);
    counter.feed(reply);
    return counter.count();
}

// UCS2 hex of ASCII text, as the phone sends texts and names.
std::string ucs2(const std::string& ascii) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : ascii)
        hex += std::string("00") + digits[c >> 4] + digits[c & 15];
    return hex;
}

} // namespace

TEST(FinalCodeCounter, EveryKindOfFinalLineCounts) {
    EXPECT_EQ(codesIn("AT\r\r\nOK\r\n"), 1);
    EXPECT_EQ(codesIn("AT+CMGD=9\r\r\n+CMS ERROR: 321\r\n"), 1);
    EXPECT_EQ(codesIn("AT+CPBR=900\r\r\n+CME ERROR: invalid index\r\n"), 1);
    EXPECT_EQ(codesIn("AT+XYZ\r\r\nERROR\r\n"), 1);
    // The break's extra CR in front of CR LF, and a code first in the reply.
    EXPECT_EQ(codesIn("OK\r\r\n"), 1);
    EXPECT_EQ(codesIn("OK\r\n"), 1);
}

TEST(FinalCodeCounter, OnlyWholeLinesEndedByCrLfCount) {
    EXPECT_EQ(codesIn("AT\r\r\nOK"), 0);   // not ended yet
    EXPECT_EQ(codesIn("AT\r\r\nOK\r"), 0); // CR without its LF
    EXPECT_EQ(codesIn("AT\r\r\nOK\n"), 0); // a lone LF stays inside the line
    EXPECT_EQ(codesIn("AT\rOK\r\n"), 0);   // a lone CR too: the line is "AT\rOK"
    EXPECT_EQ(codesIn("\r\nOKAY\r\n\r\n OK\r\nOK \r\n"), 0);
    EXPECT_EQ(codesIn("\r\nERRORS\r\n+CMS ERROR\r\nNO CARRIER\r\nok\r\n"), 0);
    EXPECT_EQ(codesIn("+CMTI: \"ME\",5\r\nRING\r\n"), 0);
    // Nothing after a zero byte is read by the dialogue, so nothing counts there.
    EXPECT_EQ(codesIn(std::string("AT\r\r\n\0OK\r\n", 11)), 0);
}

TEST(FinalCodeCounter, TextsInUcs2HexAreNeverCodes) {
    const std::string listing =
        "at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n" + ucs2("OK") +
        "\r\n+MMGL: 2, \"STO SENT\", \"+79161234567\"\r\n" + ucs2("ERROR") + "\r\n";
    EXPECT_EQ(codesIn(listing), 0);
    // A text of digits only spells a hex line of digits only.
    EXPECT_EQ(ucs2("12"), "00310032");
    EXPECT_EQ(codesIn("\r\n" + ucs2("12") + "\r\n" + ucs2("0") + "\r\n"), 0);
    EXPECT_EQ(codesIn(listing + "\r\nOK\r\n"), 1);
}

TEST(FinalCodeCounter, CompleteAfterTheWantedNumber) {
    const std::string setUp = "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n"
                              "AT+CPBS=\"MT\"\r\r\nOK\r\n";
    FinalCodeCounter four(4);
    four.feed(setUp.substr(0, setUp.size() - 1));
    EXPECT_EQ(four.count(), 3);
    EXPECT_FALSE(four.complete());
    four.feed("\n");
    EXPECT_TRUE(four.complete());
    // More codes than wanted keep it complete; 0 wanted never completes.
    four.feed("\r\nRING\r\nOK\r\n");
    EXPECT_TRUE(four.complete());
    FinalCodeCounter none(0);
    none.feed(setUp);
    EXPECT_EQ(none.count(), 4);
    EXPECT_FALSE(none.complete());
}

TEST(FinalCodeCounter, CodesSplitAcrossReadsAreSeen) {
    const std::string reply =
        "AT+CMGR=5\r\r\n+CMGR: \"REC READ\"\r\n0041\r\n\r\n+CMS ERROR: 500\r\n";
    // Every cut of the reply into two reads, and byte by byte.
    for (std::size_t cut = 0; cut <= reply.size(); ++cut) {
        FinalCodeCounter counter(1);
        counter.feed(reply.substr(0, cut));
        EXPECT_EQ(counter.complete(), cut == reply.size()) << cut;
        counter.feed(reply.substr(cut));
        EXPECT_TRUE(counter.complete()) << cut;
    }
    FinalCodeCounter bytewise(2);
    for (const char c : std::string("AT\r\r\nO") + "K\r\nAT\r\r\nOK\r" + "\n")
        bytewise.feed(std::string(1, c));
    EXPECT_EQ(bytewise.count(), 2);
}

TEST(FinalCodeCounter, LongLinesDoNotConfuseTheCount) {
    const std::string longLine(5000, 'A');
    EXPECT_EQ(codesIn(longLine + "OK\r\n"), 0);
    EXPECT_EQ(codesIn(longLine + "\r\nOK\r\n"), 1);
    EXPECT_EQ(codesIn("+CME ERROR: " + longLine + "\r\n"), 1);
    EXPECT_EQ(codesIn("ERROR" + std::string(20, ' ') + "\r\n"), 0);
}
