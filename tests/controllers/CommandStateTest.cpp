// The one command state: which commands may run in each state of the
// program, and jobs started one at a time, each handed back as its own type.
#include "controllers/CommandState.h"

#include "ControllerTesting.h"
#include "reading/DeleteOnPhoneJob.h"
#include "reading/PhoneReadJob.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <set>

using namespace qb;
using test::HeldJob;

namespace {

const std::vector<Command> AllCommands = {
    Command::Connect,
    Command::Read,
    Command::ExportSelected,
    Command::ExportAll,
    Command::ExportForSmartphone,
    Command::Import,
    Command::DeleteInArchive,
    Command::DeleteAllInArchive,
    Command::DeleteOnPhone,
    Command::ChoosePort,
    Command::DeleteSelected,
    Command::SortList,
    Command::CancelJob,
    Command::About,
    Command::Search,
    Command::EndSearch,
    Command::ShowConversation,
    Command::Print,
    Command::SavePdf,
};

std::set<Command> allBut(std::set<Command> left) {
    std::set<Command> enabled;
    for (const Command command : AllCommands)
        if (!left.contains(command))
            enabled.insert(command);
    return enabled;
}

class CommandStateTest : public ::testing::Test {
  protected:
    CommandStateTest() { test::ensureApplication(); }
    std::set<Command> enabled() const {
        std::set<Command> now;
        for (const Command command : AllCommands)
            if (commands.isEnabled(command))
                now.insert(command);
        return now;
    }
    CommandState commands;
};

} // namespace

TEST_F(CommandStateTest, EachStateEnablesItsCommands) {
    struct Case {
        const char* state;
        bool connected, rows, selected, gathered;
        std::optional<UserCancel> job;
        std::set<Command> enabled;
    };
    using enum Command;
    const std::vector<Case> cases = {
        {"idle, no phone, nothing listed", false, false, false, false, std::nullopt,
         allBut({Read, ExportSelected, ExportAll, CancelJob, EndSearch, ShowConversation, Print,
                 SavePdf})},
        {"idle, phone, rows listed", true, true, false, false, std::nullopt,
         allBut({ExportSelected, CancelJob, EndSearch, ShowConversation})},
        {"idle, phone, rows selected", true, true, true, false, std::nullopt,
         allBut({CancelJob, EndSearch})},
        {"results, rows selected", true, true, true, true, std::nullopt, allBut({CancelJob})},
        // Searching changes nothing, so it goes on while a job runs; Esc
        // leaves the results unless it stops the job.
        {"a file job",
         true,
         true,
         true,
         true,
         UserCancel::No,
         {Search, EndSearch, ShowConversation}},
        {"a phone job",
         true,
         true,
         true,
         true,
         UserCancel::Yes,
         {CancelJob, Search, ShowConversation}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        commands.setConnected(c.connected);
        commands.setListed(c.rows, c.selected);
        commands.setGathered(c.gathered);
        HeldJob* job = c.job ? commands.run(std::make_unique<HeldJob>(), {}, *c.job) : nullptr;
        EXPECT_EQ(enabled(), c.enabled);
        if (job) {
            job->end();
            ASSERT_TRUE(test::waitFor([this] { return !commands.isBusy(); }));
        }
    }
}

TEST_F(CommandStateTest, OneJobAtATimeHandedBackAsItsOwnType) {
    QSignalSpy changed(&commands, &CommandState::commandsChanged);
    QSignalSpy busy(&commands, &CommandState::busyChanged);
    bool ended = false;
    HeldJob* job = commands.run(std::make_unique<HeldJob>(), [&](HeldJob& done) {
        ended = true;
        EXPECT_TRUE(done.started);
        EXPECT_EQ(busy.size(), 1); // told idle only after the outcome was read
    });
    ASSERT_NE(job, nullptr);
    EXPECT_TRUE(job->started && commands.isBusy());
    EXPECT_EQ(changed.size(), 1);

    bool refusedDestroyed = false;
    EXPECT_EQ(commands.run(std::make_unique<HeldJob>(&refusedDestroyed), {}), nullptr);
    EXPECT_TRUE(refusedDestroyed); // never started, not kept

    job->end();
    EXPECT_FALSE(ended); // from the event loop, not from within end()
    ASSERT_TRUE(test::waitFor([&] { return ended; }));
    EXPECT_FALSE(commands.isBusy());
    EXPECT_EQ(busy.size(), 2);
    EXPECT_EQ(changed.size(), 2);
}

TEST_F(CommandStateTest, TheNextJobMayStartWhenOneEnds) {
    HeldJob* second = nullptr;
    HeldJob* first = commands.run(std::make_unique<HeldJob>(), [&](HeldJob&) {
        second = commands.run(std::make_unique<HeldJob>(), {});
    });
    QSignalSpy busy(&commands, &CommandState::busyChanged);
    first->end();
    ASSERT_TRUE(test::waitFor([&] { return second != nullptr; }));
    EXPECT_TRUE(commands.isBusy());
    EXPECT_TRUE(second->started);
    second->end();
    ASSERT_TRUE(test::waitFor([&] { return !commands.isBusy(); }));
}

TEST_F(CommandStateTest, OnlyAJobTheUserMayStopStopsByEsc) {
    for (const UserCancel userCancel : {UserCancel::No, UserCancel::Yes}) {
        HeldJob* job = commands.run(std::make_unique<HeldJob>(), {}, userCancel);
        commands.cancelByUser();
        EXPECT_EQ(job->cancelled, userCancel == UserCancel::Yes);
        commands.cancel(); // the program may always
        EXPECT_TRUE(job->cancelled);
        ASSERT_TRUE(test::waitFor([this] { return !commands.isBusy(); }));
    }
    commands.cancelByUser(); // nothing runs: nothing happens
}

TEST_F(CommandStateTest, StateChangesAreToldOnlyWhenTheyChangeSomething) {
    QSignalSpy changed(&commands, &CommandState::commandsChanged);
    commands.setConnected(false);
    commands.setListed(false, false);
    EXPECT_EQ(changed.size(), 0);
    commands.setConnected(true);
    commands.setListed(true, false);
    commands.setListed(true, false);
    EXPECT_EQ(changed.size(), 2);
}

// A job with nothing to do, or no phone to do it with, still ends from the
// event loop: its starter has returned and connected by then.
TEST_F(CommandStateTest, JobsThatEndAtOnceEndFromTheEventLoop) {
    ReadResult result;
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<Job>()>>> jobs = {
        {"a deletion of no rows",
         [&] {
             return std::make_unique<DeleteOnPhoneJob>(nullptr, FolderKind::Inbox,
                                                       std::vector<DeleteRow>{}, result);
         }},
        {"a deletion without a phone",
         [&] {
             return std::make_unique<DeleteOnPhoneJob>(nullptr, FolderKind::Inbox,
                                                       std::vector<DeleteRow>{{1, "1"}}, result);
         }},
        {"a read without a phone", [] { return std::make_unique<PhoneReadJob>(ReadContext{}); }},
    };
    for (const auto& [what, make] : jobs) {
        SCOPED_TRACE(what);
        std::unique_ptr<Job> job = make();
        QSignalSpy finished(job.get(), &Job::finished);
        job->start();
        EXPECT_EQ(finished.size(), 0);
        EXPECT_TRUE(finished.wait(1000));
    }
}
