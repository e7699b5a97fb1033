// A reply ends as soon as it holds the final result codes of the commands it
// answers; without them the quiet-line rule ends it as before. Against a pty,
// with a thread playing the phone.
#include "PhoneSide.h"
#include "ReplyWait.h"
#include "phonelink/PhonePort.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace qb;
using namespace qb::test;

namespace {

using Clock = std::chrono::steady_clock;

// The quiet-line rule can never end a reply with content sooner than this.
constexpr double QuietFloorMs = 150;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class PhonePortReplyEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty.slavePath.empty());
        ASSERT_TRUE(port.open());
    }
    void TearDown() override {
        if (phone.joinable())
            phone.join();
    }

    // The phone writes each piece after the pause (ms) in front of it.
    void phoneSends(std::vector<std::pair<int, std::string>> pieces) {
        phone = std::thread([this, pieces = std::move(pieces)] {
            for (const auto& [pauseMs, bytes] : pieces) {
                sleepMs(pauseMs);
                writeAll(pty.master, bytes);
            }
        });
    }

    std::string replyOf(int finalCodes) { return waitForReply(reader, finalCodes); }

    Pty pty;
    PhonePort port{[this] {
        ensureApplication();
        UsbModem modem;
        modem.devNode = pty.slavePath;
        return modem;
    }()};
    ReplyReader reader{&port};
    std::thread phone;
};

} // namespace

TEST_F(PhonePortReplyEndTest, ReplyEndingInOkReturnsWellBeforeTheQuietFloor) {
    // An unsolicited line 60 ms after the OK: the quiet-line rule would have
    // kept it in this reply, the final code leaves it to the next one.
    phoneSends({{5, "AT\r\r\nOK\r\n"}, {60, "\r\nRING\r\n"}});
    const auto start = Clock::now();
    EXPECT_EQ(replyOf(1), "AT\r\r\nOK\r\n");
    EXPECT_LT(msSince(start), QuietFloorMs - 30);
    EXPECT_EQ(port.debugText(), "I Phone Read Command By Ok");
    phone.join();
    EXPECT_EQ(replyOf(1), "\r\nRING\r\n");
}

TEST_F(PhonePortReplyEndTest, CommandsSentTogetherWaitForAllTheirCodes) {
    const std::string three = "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n";
    const std::string fourth = "AT+CPBS=\"MT\"\r\r\nOK\r\n";
    phoneSends({{5, three}, {40, fourth}, {40, "\r\n+CMTI: \"ME\",9\r\n"}});
    EXPECT_EQ(replyOf(4), three + fourth);
    EXPECT_EQ(replyOf(1), "\r\n+CMTI: \"ME\",9\r\n");
}

TEST_F(PhonePortReplyEndTest, ErrorCodesEndAReplyToo) {
    for (const std::string code : {"ERROR", "+CMS ERROR: 321", "+CME ERROR: 21"}) {
        const std::string reply = "AT+CMGD=9\r\r\n" + code + "\r\n";
        phoneSends({{5, reply}, {60, "late\r\n"}});
        EXPECT_EQ(replyOf(1), reply);
        phone.join();
        EXPECT_EQ(replyOf(0), "late\r\n");
    }
}

TEST_F(PhonePortReplyEndTest, BytesInTheSameReadAsTheCodeStayInTheReply) {
    const std::string reply = "AT\r\r\nOK\r\n\r\n+CMTI: \"ME\",5\r\nRI";
    writeAll(pty.master, reply);
    EXPECT_EQ(replyOf(1), reply);
}

TEST_F(PhonePortReplyEndTest, WithoutFinalCodesTheQuietRuleEndsTheReply) {
    // No code at all, fewer codes than commands, and a code not yet ended by
    // CR LF: all taken whole by the quiet-line rule, no sooner than its floor.
    for (const auto& [codes, reply] : std::initializer_list<std::pair<int, std::string>>{
             {1, "AT+CSQ\r\r\n+CSQ: 5,99\r\n"}, {2, "AT\r\r\nOK\r\n"}, {1, "AT\r\r\nOK"}}) {
        phoneSends({{5, reply}});
        const auto start = Clock::now();
        EXPECT_EQ(replyOf(codes), reply);
        EXPECT_GE(msSince(start), QuietFloorMs - 5);
        phone.join();
    }
    // A phone that has not begun after the first 50 ms still gives nothing.
    phoneSends({{120, "AT\r\r\nOK\r\n"}});
    EXPECT_EQ(replyOf(1), "");
}

TEST_F(PhonePortReplyEndTest, ReplyInChunksThirtyMillisecondsApartIsTakenWhole) {
    const std::string header = "at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n";
    const std::string text = "041F04400438043204350442\r\n\r\nOK\r\n";
    // Cut inside the text line and inside the final code.
    phoneSends({{5, header.substr(0, 20)},
                {30, header.substr(20)},
                {30, text.substr(0, 10)},
                {30, text.substr(10, text.size() - 13)},
                {30, text.substr(text.size() - 3)},
                {60, "late\r\n"}});
    EXPECT_EQ(replyOf(1), header + text);
}

TEST_F(PhonePortReplyEndTest, CodeSplitAcrossTwoReadsIsRecognised) {
    phoneSends({{5, "AT\r\r\nO"}, {30, "K\r\n"}, {60, "\r\nRING\r\n"}});
    EXPECT_EQ(replyOf(1), "AT\r\r\nOK\r\n");
    phone.join();
    // A text line whose hex is digits only is no code: the reply waits on.
    phoneSends(
        {{5, "AT+CMGR=1\r\r\n+CMGR: \"REC READ\"\r\n0031"}, {30, "0032\r\n"}, {30, "\r\nOK\r\n"}});
    EXPECT_EQ(replyOf(1),
              "\r\nRING\r\nAT+CMGR=1\r\r\n+CMGR: \"REC READ\"\r\n00310032\r\n\r\nOK\r\n");
}

TEST_F(PhonePortReplyEndTest, UnplugWhileWaitingForTheCodeEndsTheReplyAtOnce) {
    phoneSends({{5, "at+mmgl=\"ALL\"\r\r\n+MMGL: 1"}});
    phone.join();
    std::thread pull([this] {
        sleepMs(30);
        pty.hangUp();
    });
    QSignalSpy lost(&port, &AtPort::lost);
    const auto start = Clock::now();
    replyOf(1);
    pull.join();
    EXPECT_LT(msSince(start), 1000);
    ASSERT_TRUE(lost.count() == 1 || lost.wait(1000));
    EXPECT_EQ(lost.at(0).at(0).value<PortLoss>(), PortLoss::HungUp);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.sendCommand("AT"));
}
