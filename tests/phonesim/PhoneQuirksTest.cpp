// The simulator playing a real phone's ways: its timing, its own lines, a
// refused command, a reply that never ends, a phone that falls silent, and
// the options that ask for them.
#include "tools/phonesim/SimServer.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <numeric>
#include <string>
#include <vector>

namespace qb {
namespace {

const std::string Listing =
    "at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\", \"+7\"\r\n0041\r\n\r\nOK\r\n";

int total(const std::vector<int>& gaps) {
    return std::accumulate(gaps.begin(), gaps.end(), 0);
}

// What a server with these quirks sends back for `commands`, read at once.
std::string served(const PhoneQuirks& quirks, const std::string& commands, std::size_t* answers) {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return {};
    PhoneSimulator phone;
    ServeTiming timing;
    timing.quirks = quirks;
    SimServer server(phone, timing, nullptr);
    server.attach(pair[1]);
    [[maybe_unused]] const ssize_t n = ::write(pair[0], commands.data(), commands.size());
    std::string got;
    for (int turn = 0; turn < 20; ++turn) {
        server.service(POLLIN | POLLOUT);
        char buffer[4096];
        pollfd p{pair[0], POLLIN, 0};
        while (::poll(&p, 1, 0) > 0) {
            const ssize_t r = ::read(pair[0], buffer, sizeof buffer);
            if (r <= 0)
                break;
            got.append(buffer, std::size_t(r));
        }
    }
    *answers = server.answers();
    ::close(pair[0]);
    ::close(pair[1]);
    return got;
}

} // namespace

TEST(PhoneQuirks, TimingOfEachAnswer) {
    PhoneQuirks quirks;
    quirks.answerDelayMs = 120;
    quirks.listingDelayMs = 2500;
    quirks.pauseMs = 1000;
    const AnswerShaper shape = answerShaper(quirks);
    // The listing: its echo after the delay, 2.5 s of flash, then a pause half-way.
    const AnswerShape listing = shape(1, Listing);
    EXPECT_EQ(listing.delayMs, 120);
    ASSERT_EQ(listing.cuts.size(), 2u);
    EXPECT_EQ(listing.cuts[0], std::string("at+mmgl=\"ALL\"\r").size());
    EXPECT_EQ(listing.gapsMs, (std::vector<int>{2500, 1000}));
    // Any other command: the delay alone.
    const AnswerShape other = shape(0, "AT\r\r\nOK\r\n");
    EXPECT_EQ(other.delayMs, 120);
    EXPECT_TRUE(other.cuts.empty());

    quirks.dribbleGapMs = 0;
    const AnswerShape dribbled = answerShaper(quirks)(1, Listing);
    EXPECT_EQ(dribbled.cuts.size(), Listing.size() - 1);
    EXPECT_EQ(total(dribbled.gapsMs), 3500);
}

TEST(PhoneQuirks, UnsolicitedLinesComeBetweenLines) {
    const std::string first = withUnsolicitedLines("AT\r\r\nOK\r\n", 0);
    EXPECT_EQ(first, "\r\n+MBAN: Copyright 2000-2002 Motorola, Inc.\r\nAT\r\r\n\r\nRING\r\nOK\r\n");
    const std::string second = withUnsolicitedLines(Listing, 1);
    EXPECT_NE(second.find("\r\n\r\nRING\r\n"), std::string::npos);
    EXPECT_TRUE(second.ends_with("OK\r\n\r\n+CMTI: \"ME\",9\r\n"));
    EXPECT_EQ(second.find("RING"), second.find("\r\nRING") + 2);
}

TEST(PhoneQuirks, RefusedEndlessAndSilentCommands) {
    std::size_t answers = 0;
    PhoneQuirks refusing;
    refusing.refusedCommand = "at+cmgr=3";
    refusing.cmsError = 321;
    EXPECT_EQ(served(refusing, "AT+CMGR=3\r\n", &answers), "AT+CMGR=3\r\r\n+CMS ERROR: 321\r\n");

    PhoneQuirks endless;
    endless.endlessCommand = "at+mmgl=\"ALL\"";
    const std::string stream = served(endless, "at+mmgl=\"ALL\"\r\n", &answers);
    EXPECT_TRUE(stream.starts_with("at+mmgl=\"ALL\"\r\r\n+MMGL: 1, \"REC READ\""))
        << stream.substr(0, 60);
    EXPECT_GT(stream.size(), 10000u);
    EXPECT_EQ(stream.find("OK\r\n"), std::string::npos);

    PhoneQuirks silent;
    silent.silentCommand = "AT+CMGF=1";
    EXPECT_EQ(served(silent, "AT\r\nAT+CMGF=1\r\nAT\r\n", &answers), "AT\r\r\nOK\r\n");
    EXPECT_EQ(answers, 1u);
}

TEST(PhoneQuirks, OptionsOfTheCommandLine) {
    std::vector<std::string> args = {"phonesim",    "--delay",       "120",       "--unsolicited",
                                     "--cms-error", "500:AT+CMGR=3", "--dribble", "0",
                                     "--endless",   "AT+CPBR=1,250", "--content", "x"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    PhoneQuirks quirks;
    const int argc = static_cast<int>(argv.size());
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 1, quirks), 2);
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 3, quirks), 1);
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 4, quirks), 2);
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 6, quirks), 2);
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 8, quirks), 2);
    EXPECT_EQ(takeQuirkOption(argc, argv.data(), 10, quirks), 0); // not a quirk
    EXPECT_EQ(quirks.answerDelayMs, 120);
    EXPECT_TRUE(quirks.unsolicited);
    EXPECT_EQ(quirks.cmsError, 500);
    EXPECT_EQ(quirks.refusedCommand, "AT+CMGR=3");
    EXPECT_EQ(quirks.dribbleGapMs, 0);
    EXPECT_EQ(quirks.endlessCommand, "AT+CPBR=1,250");
    EXPECT_TRUE(quirks.any());

    std::vector<std::string> bad = {"phonesim",    "--delay",   "soon",
                                    "--cms-error", "AT+CMGR=3", "--pause"};
    std::vector<char*> badArgv;
    for (std::string& arg : bad)
        badArgv.push_back(arg.data());
    const int badArgc = static_cast<int>(badArgv.size());
    EXPECT_EQ(takeQuirkOption(badArgc, badArgv.data(), 1, quirks), -1);
    EXPECT_EQ(takeQuirkOption(badArgc, badArgv.data(), 3, quirks), -1); // no code
    EXPECT_EQ(takeQuirkOption(badArgc, badArgv.data(), 5, quirks), -1); // no value
    EXPECT_FALSE(PhoneQuirks{}.any());
}

} // namespace qb
