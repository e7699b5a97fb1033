// A reply ends at the final result codes of the commands it answers, however
// late the phone starts and however it pauses, within its command's bounds.
// Against a pty, with a thread playing the phone.
#include "PhoneSide.h"
#include "ReplyWait.h"
#include "phonelink/PhonePort.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace qb;
using namespace qb::test;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Bounds short enough for a test and long enough for a busy machine.
AwaitedCommand command(std::string text, int answerMs = 5000, int silenceMs = 5000,
                       std::size_t maxBytes = 64 * 1024) {
    return {std::move(text), {answerMs, silenceMs, maxBytes}};
}

class PhonePortReplyEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty.slavePath.empty());
        ASSERT_TRUE(port.open());
    }
    void TearDown() override { phoneDone(); }

    // The phone writes each piece after the pause (ms) in front of it.
    void phoneSends(std::vector<std::pair<int, std::string>> pieces) {
        phoneDone();
        phone = std::thread([this, pieces = std::move(pieces)] {
            for (const auto& [pauseMs, bytes] : pieces) {
                sleepMs(pauseMs);
                writeAll(pty.master, bytes);
            }
        });
    }
    void phoneDone() {
        if (phone.joinable())
            phone.join();
    }

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

TEST_F(PhonePortReplyEndTest, LateSlowAndPausingRepliesComeWhole) {
    const std::string listing = "at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n"
                                "041F04400438043204350442\r\n\r\nOK\r\n";
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> pieces;
    };
    const Case cases[] = {
        {"starts after 300 ms", {{300, listing}}},
        {"echo, then a long think", {{5, listing.substr(0, 16)}, {400, listing.substr(16)}}},
        {"pauses inside a line and inside the code",
         {{5, listing.substr(0, 40)}, {300, listing.substr(40, 30)}, {300, listing.substr(70)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pieces = c.pieces;
        pieces.push_back({50, "\r\n+CMTI: \"ME\",9\r\n"});
        phoneSends(pieces);
        const Reply reply = waitFor(reader, {command("at+mmgl=\"ALL\"")});
        EXPECT_EQ(reply.end, Reply::End::Whole);
        EXPECT_EQ(reply.bytes, listing);
        phoneDone();
    }
    // What came after the code, a line of the phone's own, is no part of the next reply.
    phoneSends({{5, "AT\r\r\nOK\r\n"}});
    EXPECT_EQ(waitForReply(reader, {command("AT")}), "AT\r\r\nOK\r\n");
}

TEST_F(PhonePortReplyEndTest, CommandsSentTogetherWaitForAllTheirCodes) {
    const std::string three = "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n";
    const std::string fourth = "AT+CPBS=\"MT\"\r\r\nOK\r\n";
    phoneSends({{5, three}, {150, fourth}});
    const Reply reply = waitFor(reader, {command("AT"), command("AT+CMGF=1"),
                                         command("AT+CSCS=UCS2"), command("AT+CPBS=\"MT\"")});
    EXPECT_EQ(reply.end, Reply::End::Whole);
    EXPECT_EQ(reply.bytes, three + fourth);
    EXPECT_EQ(reply.codes.size(), 4u);
}

// Past a bound the reply ends there, saying which bound and for which command.
TEST_F(PhonePortReplyEndTest, BoundsEndRepliesThatDoNotEnd) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> pieces;
        int silenceMs;
        Reply::End end;
        std::size_t unanswered;
        int boundMs;
    };
    const Case cases[] = {
        {"never answers", {}, 200, Reply::End::NoAnswer, 0, 300},
        {"answers the first of two only",
         {{5, "AT\r\r\nOK\r\n"}},
         1000,
         Reply::End::NoAnswer,
         1,
         300},
        {"stops half-way", {{5, "AT\r\r\n+CMGR: \"REC"}}, 200, Reply::End::Stopped, 0, 200},
        {"never stops", {{5, "AT\r\r\n" + std::string(3000, '0')}}, 200, Reply::End::TooLong, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        phoneSends(c.pieces);
        const auto start = Clock::now();
        const Reply reply = waitFor(reader, {command("AT", 300, c.silenceMs, 2048),
                                             command("AT+CMGF=1", 300, c.silenceMs, 2048)});
        EXPECT_EQ(reply.end, c.end);
        EXPECT_EQ(reply.unanswered(), c.unanswered);
        EXPECT_GE(msSince(start), c.boundMs - 5); // never before its bound
        phoneDone();
    }
}

TEST_F(PhonePortReplyEndTest, AfterAZeroByteTheQuietLineEndsTheReply) {
    const std::string bytes("AT\r\r\n\0\r\nOK\r\n", 12);
    phoneSends({{5, bytes}});
    const Reply reply = waitFor(reader, {command("AT")});
    EXPECT_EQ(reply.end, Reply::End::Quiet);
    EXPECT_EQ(reply.bytes, bytes);
}

TEST_F(PhonePortReplyEndTest, UnplugWhileWaitingForTheCodeEndsTheReplyAtOnce) {
    phoneSends({{5, "at+mmgl=\"ALL\"\r\r\n+MMGL: 1"}});
    phoneDone();
    std::thread pull([this] {
        sleepMs(30);
        pty.hangUp();
    });
    QSignalSpy lost(&port, &AtPort::lost);
    reader.read({command("at+mmgl=\"ALL\"")}, [](Reply) {});
    ASSERT_TRUE(lost.wait(5000));
    pull.join();
    EXPECT_EQ(lost.at(0).at(0).value<PortLoss>(), PortLoss::HungUp);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.sendCommand("AT"));
    reader.abandon();
}
