// The serving loop playing a slow phone: a chosen delay per answer and
// answers cut into chunks with chosen gaps.
#include "tools/phonesim/SimServer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace qb {
namespace {

using Clock = std::chrono::steady_clock;

struct Arrival {
    std::string bytes;
    double ms; // after the commands were written
};

// Writes the commands at once and collects what comes back, read by read,
// until `bytes` bytes arrived (or 5 s passed).
std::vector<Arrival> askAndCollect(ServeTiming timing, const std::string& commands,
                                   std::size_t bytes) {
    int pair[2];
    int stop[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0 ||
        pipe2(stop, O_CLOEXEC) != 0)
        return {};
    PhoneSimulator phone;
    SimServer server(phone, std::move(timing), nullptr);
    server.attach(pair[1]);
    std::thread serving([&] { serveUntilStopped(server, stop[0]); });
    const auto start = Clock::now();
    [[maybe_unused]] const ssize_t written = ::write(pair[0], commands.data(), commands.size());
    std::vector<Arrival> arrivals;
    std::size_t got = 0;
    while (got < bytes && Clock::now() - start < std::chrono::seconds(5)) {
        pollfd p{pair[0], POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = ::read(pair[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        got += std::size_t(n);
        arrivals.push_back(
            {std::string(buffer, std::size_t(n)),
             std::chrono::duration<double, std::milli>(Clock::now() - start).count()});
    }
    [[maybe_unused]] const ssize_t stopped = ::write(stop[1], "s", 1);
    serving.join();
    EXPECT_EQ(server.answers(), 2u);
    for (const int fd : {pair[0], pair[1], stop[0], stop[1]})
        ::close(fd);
    return arrivals;
}

std::string joined(const std::vector<Arrival>& arrivals) {
    std::string all;
    for (const auto& a : arrivals)
        all += a.bytes;
    return all;
}

const std::string Commands = "AT\r\nAT+CMGF=1\r\n";
const std::string Answers = "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\n";

} // namespace

TEST(SimServerShapeTest, EachCommandIsAnsweredAfterItsOwnDelay) {
    ServeTiming timing;
    std::vector<std::size_t> numbers;
    timing.shape = [&numbers](std::size_t answer, std::string_view) {
        numbers.push_back(answer);
        return AnswerShape{answer == 0 ? 40 : 80, {}, {}};
    };
    const auto arrivals = askAndCollect(timing, Commands, Answers.size());
    EXPECT_EQ(joined(arrivals), Answers);
    EXPECT_EQ(numbers, (std::vector<std::size_t>{0, 1}));
    ASSERT_GE(arrivals.size(), 2u);
    // The second answer waits for the first: 40 ms, then 80 ms more.
    EXPECT_GE(arrivals.front().ms, 39);
    EXPECT_EQ(arrivals.front().bytes, "AT\r\r\nOK\r\n");
    EXPECT_GE(arrivals.back().ms, 119);
}

TEST(SimServerShapeTest, AnswersAreCutWhereAskedWithTheirGaps) {
    ServeTiming timing;
    // "O" and "K\r\n" of each answer come apart: 30 ms, then 60 ms.
    timing.shape = [](std::size_t, std::string_view bytes) {
        const std::size_t ok = bytes.rfind("OK");
        return AnswerShape{0, {ok + 1, ok + 2}, {30, 60}};
    };
    const auto arrivals = askAndCollect(timing, Commands, Answers.size());
    ASSERT_EQ(joined(arrivals), Answers);
    // Chunks that fall due together may arrive in one read, so each byte is
    // judged by when the read that brought it returned.
    std::vector<double> byteMs;
    for (const auto& a : arrivals)
        byteMs.insert(byteMs.end(), a.bytes.size(), a.ms);
    const std::size_t firstK = Answers.find('K');
    EXPECT_EQ(Answers.substr(firstK - 6, 6), "AT\r\r\nO");
    EXPECT_GE(byteMs[firstK] - byteMs[firstK - 1], 25);
    EXPECT_GE(byteMs[firstK + 1] - byteMs[firstK], 55);
    EXPECT_GE(byteMs.back(), 175);
}

TEST(SimServerShapeTest, AnsweringTimeAddsTheChosenDelaysAndGaps) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    PhoneSimulator phone;
    ServeTiming timing;
    timing.shape = [](std::size_t answer, std::string_view) {
        return AnswerShape{int(answer) * 10 + 5, {3, 6, 9}, {2}};
    };
    SimServer server(phone, timing, nullptr);
    server.attach(pair[1]);
    [[maybe_unused]] const ssize_t n = ::write(pair[0], "AT\r\nAT\r\nAT", 10);
    server.service(POLLIN);
    // Two whole commands of three chunks each; the third is still being
    // typed and is only echoed.
    EXPECT_EQ(server.answers(), 2u);
    EXPECT_EQ(server.answeringTime(), std::chrono::milliseconds(5 + 15 + 4 * 2));
    ::close(pair[0]);
    ::close(pair[1]);
}

} // namespace qb
