#pragma once
// Running the port's event-driven side from a test: an application object for
// its notifiers and timers, and one reply collected the way the dialogue does.
#include "phonelink/ReplyReader.h"

#include <QCoreApplication>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

namespace qb::test {

inline void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quillbox_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

// Collects one reply to `commands` (none: by the quiet line alone) the way
// the dialogue does; a reply that never comes ends as NoAnswer with
// "<no reply>" for its bytes, so the failing expectation shows it.
inline Reply waitFor(ReplyReader& reader, std::vector<AwaitedCommand> commands = {}) {
    std::optional<Reply> reply;
    reader.read(std::move(commands), [&reply](Reply got) { reply = std::move(got); });
    (void)QTest::qWaitFor([&reply] { return reply.has_value(); }, 10000);
    if (!reply)
        reader.abandon();
    return reply.value_or(Reply{Reply::End::NoAnswer, "<no reply>", {}});
}

inline std::string waitForReply(ReplyReader& reader, std::vector<AwaitedCommand> commands = {}) {
    return waitFor(reader, std::move(commands)).bytes;
}

} // namespace qb::test
