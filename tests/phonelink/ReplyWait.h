#pragma once
// Running the port's event-driven side from a test: an application object for
// its notifiers and timers, and one reply collected the way the dialogue does.
#include "phonelink/ReplyReader.h"

#include <QCoreApplication>
#include <QTest>
#include <optional>
#include <string>

namespace qb::test {

inline void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quillbox_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

inline std::string waitForReply(ReplyReader& reader, int finalCodes) {
    std::optional<std::string> reply;
    reader.read(finalCodes, [&reply](std::string bytes) { reply = std::move(bytes); });
    // A reply that never comes shows as "<no reply>" in the failing expectation.
    (void)QTest::qWaitFor([&reply] { return reply.has_value(); }, 10000);
    return reply.value_or("<no reply>");
}

} // namespace qb::test
