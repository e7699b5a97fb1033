// The port against a pty, which behaves as cdc_acm's tty does (a closed
// master hangs the other side up the way an unplugged phone does).
#include "phonelink/PhonePort.h"
#include "PhoneSide.h"
#include "ReplyWait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <thread>

using namespace qb;
using namespace qb::test;

namespace {

UsbModem deviseAt(const std::string& path) {
    ensureApplication();
    UsbModem d;
    d.deviceId = 7;
    d.devNode = path;
    return d;
}

class ModemItemTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(pty.slavePath.empty()); }
    std::string replyOf() { return waitForReply(reader); }
    Pty pty;
    PhonePort port{deviseAt(pty.slavePath)};
    ReplyReader reader{&port};
};

} // namespace

TEST_F(ModemItemTest, ClosedPortOperations) {
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.debugText(), "");
    EXPECT_FALSE(port.sendCommand("AT"));
    EXPECT_EQ(port.debugText(), "E Phone Send Command Failed");
    port.close();
    EXPECT_EQ(port.debugText(), "E Close Phone Failed");
    port.setTimeout(500);
    EXPECT_EQ(port.debugText(), "E Phone Set TimeOut Failed");
    EXPECT_EQ(port.timeout(), 0);
}

TEST_F(ModemItemTest, OpenSendAndRawLine) {
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.debugText(), "I Phone Open");
    EXPECT_EQ(port.lastOpenError(), OpenError::None);
    EXPECT_TRUE(port.isOpen());
    ASSERT_TRUE(port.sendCommand("AT"));
    EXPECT_EQ(port.debugText(), "I Phone Send Command");
    // No CR added before the LF and nothing else on the line.
    EXPECT_EQ(readFor(pty.master, 100), std::string("\x41\x54\x0D\x0A"));

    // Open again: true, nothing touched.
    EXPECT_TRUE(port.open());
    EXPECT_EQ(port.debugText(), "I Phone Send Command");

    // A cooked tty would echo the phone's bytes back to it as commands.
    writeAll(pty.master, "\r\nOK\r\n");
    EXPECT_EQ(replyOf(), "\r\nOK\r\n");
    EXPECT_EQ(port.debugText(), "I Phone Read Command By Ok");
    EXPECT_EQ(readFor(pty.master, 100), "");
}

TEST_F(ModemItemTest, ReplyKeepsEveryByte) {
    ASSERT_TRUE(port.open());
    const std::string bytes("\r\n+MMGL: 1\r\x00\x03\n\x7f\xff\rOK\r\n", 18);
    writeAll(pty.master, bytes);
    EXPECT_EQ(replyOf(), bytes);
}

TEST_F(ModemItemTest, NothingWaitingGivesEmptyReply) {
    ASSERT_TRUE(port.open());
    EXPECT_EQ(replyOf(), "");
    EXPECT_EQ(port.debugText(), "I Phone Open");
}

TEST_F(ModemItemTest, BurstsCloseTogetherComeBackWhole) {
    ASSERT_TRUE(port.open());
    writeAll(pty.master, "part1;");
    std::thread phone([&] {
        for (const char* burst : {"part2;", "part3;", "part4"}) {
            sleepMs(20);
            writeAll(pty.master, burst);
        }
    });
    const std::string whole = replyOf();
    phone.join();
    EXPECT_EQ(whole, "part1;part2;part3;part4");
}

TEST_F(ModemItemTest, LongSilenceSplitsTheReply) {
    ASSERT_TRUE(port.open());
    writeAll(pty.master, "first");
    std::thread phone([&] {
        sleepMs(400);
        writeAll(pty.master, "second");
    });
    EXPECT_EQ(replyOf(), "first");
    phone.join();
    EXPECT_EQ(replyOf(), "second");
}

TEST_F(ModemItemTest, LongCommandWaitsForRoomInsteadOfBeingCut) {
    ASSERT_TRUE(port.open());
    const std::string command(100000, 'A');
    std::string seen;
    std::thread phone([&] { seen = readFor(pty.master, 1500); });
    sleepMs(300); // let the output buffer fill before the phone drains it
    QSignalSpy written(&port, &AtPort::outputWritten);
    QSignalSpy lost(&port, &AtPort::lost);
    EXPECT_TRUE(port.sendCommand(command));
    EXPECT_TRUE(port.hasPendingOutput());
    EXPECT_TRUE(written.wait(3000));
    phone.join();
    EXPECT_EQ(seen.size(), command.size() + 2);
    EXPECT_TRUE(lost.isEmpty());
    EXPECT_EQ(port.debugText(), "I Phone Write Data");
}

// A phone that takes no more bytes is still there: the write gives up after
// the stall limit and says so, and the port stays open.
TEST_F(ModemItemTest, PhoneThatTakesNothingStallsTheWriteButNotThePort) {
    ASSERT_TRUE(port.open());
    QSignalSpy lost(&port, &AtPort::lost);
    EXPECT_TRUE(port.sendCommand(std::string(100000, 'A'))); // some bytes went out
    ASSERT_TRUE(lost.wait(3000));
    EXPECT_EQ(lost.at(0).at(0).value<PortLoss>(), PortLoss::Stalled);
    EXPECT_FALSE(port.hasPendingOutput());
    EXPECT_TRUE(port.isOpen());
    readFor(pty.master, 300); // the phone takes commands again
    QSignalSpy written(&port, &AtPort::outputWritten);
    ASSERT_TRUE(port.sendCommand("AT"));
    EXPECT_TRUE(written.count() == 1 || !port.hasPendingOutput());
    EXPECT_FALSE(lost.wait(1300));
}

TEST_F(ModemItemTest, UnplugClosesThePort) {
    ASSERT_TRUE(port.open());
    writeAll(pty.master, "OK");
    sleepMs(20);
    QSignalSpy lost(&port, &AtPort::lost);
    pty.hangUp();
    replyOf(); // whatever survived the hang-up
    ASSERT_TRUE(lost.count() == 1 || lost.wait(1000));
    EXPECT_EQ(lost.at(0).at(0).value<PortLoss>(), PortLoss::HungUp);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.debugText(), "I Phone Close");
    EXPECT_FALSE(port.sendCommand("AT"));
}

TEST_F(ModemItemTest, SecondOpenerIsBusyUntilTheFirstIsDestroyed) {
    auto first = std::make_unique<PhonePort>(deviseAt(pty.slavePath));
    ASSERT_TRUE(first->open());
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.debugText(), "E Open Phone Failed");
    EXPECT_EQ(port.lastOpenError(), OpenError::Busy);
    first.reset();
    EXPECT_TRUE(port.open());
}

TEST_F(ModemItemTest, TimeOutIsWhatTheDeviceReportsBack) {
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.timeout(), 0);
    port.setTimeout(500);
    EXPECT_EQ(port.timeout(), 500);
    port.setTimeout(250); // termios keeps tenths of a second
    EXPECT_EQ(port.timeout(), 300);
    port.setTimeout(-1);
    EXPECT_EQ(port.timeout(), 0);
    EXPECT_EQ(port.debugText(), "I Phone Open");
}

TEST(ModemItemOpenError, ReasonsAreTold) {
    PhonePort missing(deviseAt("/dev/ttyACM-none"));
    EXPECT_FALSE(missing.open());
    EXPECT_EQ(missing.debugText(), "E Open Phone Failed");
    EXPECT_EQ(missing.lastOpenError(), OpenError::Missing);

    char path[] = "/tmp/quillbox-port-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    PhonePort notTty(deviseAt(path));
    EXPECT_FALSE(notTty.open());
    EXPECT_EQ(notTty.lastOpenError(), OpenError::Other);
    if (geteuid() != 0) { // root opens anything
        chmod(path, 0);
        EXPECT_FALSE(notTty.open());
        EXPECT_EQ(notTty.lastOpenError(), OpenError::NoPermission);
    }
    std::remove(path);
}
