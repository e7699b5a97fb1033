// Deleting on the phone against a scripted phone.
#include "reading/DeleteOnPhoneJob.h"

#include "ScriptedPhone.h"

#include <gtest/gtest.h>

using namespace qb;
using Commands = std::vector<std::string>;
using Kind = DeleteOutcome::Kind;

namespace {

class DeleteOnPhoneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        result = {};
        for (int k = 1; k <= 5; ++k) {
            Message& message = result.inbox.emplace_back();
            message.index = 10 + k;
            message.text = "text " + std::to_string(k);
            message.time = MessageTime{2005, 1, static_cast<std::int8_t>(k), 9, 5, 3};
        }
        result.outbox.emplace_back().index = 5;
    }

    DeleteOutcome remove(FolderKind folder, const std::vector<DeleteRow>& rows) {
        phone.sent.clear();
        DeleteOnPhoneJob job(plugged ? &phone : nullptr, folder, rows, result, test::quickLimits());
        test::ProgressLog log(job);
        if (!cancelAt.empty())
            phone.onSent = [&](const std::string& command) {
                if (command == cancelAt)
                    job.cancel();
            };
        EXPECT_TRUE(test::runToEnd(job));
        phone.onSent = nullptr;
        progress = log.last;
        maximums = log.maximums;
        return job.outcome();
    }

    std::vector<std::string> inboxTexts() const {
        std::vector<std::string> texts;
        for (const Message& message : result.inbox)
            texts.push_back(message.text);
        return texts;
    }

    test::ScriptedPhone phone;
    bool plugged = true;
    std::string cancelAt;
    ProgressState progress;
    std::vector<int> maximums;
    ReadResult result;
};

} // namespace

TEST_F(DeleteOnPhoneTest, OnlyMessageOfTheOutbox) {
    const DeleteOutcome outcome = remove(FolderKind::Outbox, {{1, " 5"}});
    // A bare AT brings the phone in step first; the deletion itself is as it always was.
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CMGF=0", "AT+CMGD= 5"}));
    EXPECT_EQ(outcome.kind, Kind::Done);
    EXPECT_EQ(outcome.deleted, std::vector<int>{1});
    EXPECT_TRUE(result.outbox.empty());
    EXPECT_EQ(maximums, std::vector<int>{0});
    EXPECT_EQ(progress.position, 0);
    EXPECT_FALSE(progress.visible);
}

TEST_F(DeleteOnPhoneTest, RowsTwoAndFourOfFive) {
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {4, "14"}});
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CMGF=0", "AT+CMGD=12", "AT+CMGF=0", "AT+CMGD=14"}));
    EXPECT_EQ(outcome.deleted, (std::vector<int>{2, 4}));
    EXPECT_EQ(outcome.notDeleted, 0);
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 5"}));
    EXPECT_EQ(result.inbox.at(1).time, (MessageTime{2005, 1, 3, 9, 5, 3}));
    EXPECT_EQ(maximums, std::vector<int>{2});
    EXPECT_EQ(progress.position, 2);
}

TEST_F(DeleteOnPhoneTest, RowsOfASortedListKeepTheRightEntries) {
    remove(FolderKind::Inbox, {{5, "15"}, {1, "11"}});
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CMGF=0", "AT+CMGD=15", "AT+CMGF=0", "AT+CMGD=11"}));
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 2", "text 3", "text 4"}));
}

// What an earlier, abandoned reply left on the line is taken by the first
// answer and shifts no row's answer.
TEST_F(DeleteOnPhoneTest, LeftoversOnTheLineDoNotShiftTheAnswers) {
    phone.leftover = "+MMGL: 9, \"REC READ\", \"+7\"\r\n0041\r\n\r\nOK\r\n"
                     "AT+CMGD=12\r\n+CMS ERROR: 321\r\nAT\r\nOK\r\n";
    phone.answer("AT+CMGD=14", "+CMS ERROR: 321\r\n");
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {4, "14"}});
    EXPECT_EQ(outcome.deleted, std::vector<int>{2});
    EXPECT_EQ(outcome.notDeleted, 1);
}

TEST_F(DeleteOnPhoneTest, RefusedDeletionKeepsItsRowAndNamesTheError) {
    for (const std::string refusal : {"+CMS ERROR: 321\r\n", "ERROR\r\n", "+CME ERROR: 21\r\n"}) {
        SCOPED_TRACE(refusal);
        SetUp();
        phone.answer("AT+CMGD=12", "OK\r\n");
        phone.answer("AT+CMGD=14", refusal);
        const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {4, "14"}, {5, "15"}});
        EXPECT_EQ(outcome.kind, Kind::Done);
        EXPECT_EQ(outcome.deleted, (std::vector<int>{2, 5}));
        EXPECT_EQ(outcome.notDeleted, 1);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->kind, PhoneFailure::Kind::Refused);
        EXPECT_EQ(outcome.failure->command, "AT+CMGD=14");
        EXPECT_EQ(outcome.failure->errorLine + "\r\n", refusal);
        EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 4"}));
    }
}

// A command that goes unanswered or that the phone refuses stops the
// deletion; the rows deleted before stay deleted, the others stay.
TEST_F(DeleteOnPhoneTest, FailedCommandStopsTheDeletion) {
    struct Case {
        const char* name;
        std::function<void(test::ScriptedPhone&)> script;
        PhoneFailure::Kind failure;
        std::string command;
        std::vector<int> deleted;
    };
    const Case cases[] = {
        {"silent phone",
         [](test::ScriptedPhone& p) { p.silent = true; },
         PhoneFailure::Kind::NoAnswer,
         "AT",
         {}},
        {"no text mode",
         [](test::ScriptedPhone& p) { p.thenAnswer("AT+CMGF=0", "ERROR\r\n"); },
         PhoneFailure::Kind::Refused,
         "AT+CMGF=0",
         {2}},
        {"no answer to a deletion",
         [](test::ScriptedPhone& p) { p.answer("AT+CMGD=13", ""); },
         PhoneFailure::Kind::NoAnswer,
         "AT+CMGD=13",
         {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        phone.silent = false;
        phone.answer("AT+CMGF=0", "OK\r\n");
        phone.answer("AT+CMGD=13", "OK\r\n");
        c.script(phone);
        const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {3, "13"}, {4, "14"}});
        EXPECT_EQ(outcome.kind, Kind::Failed);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->kind, c.failure);
        EXPECT_EQ(outcome.failure->command, c.command);
        EXPECT_EQ(outcome.deleted, c.deleted);
        EXPECT_EQ(outcome.notDeleted, 3 - static_cast<int>(c.deleted.size()));
        EXPECT_EQ(result.inbox.size(), 5 - c.deleted.size());
        EXPECT_FALSE(progress.visible);
    }
}

TEST_F(DeleteOnPhoneTest, NoPhoneOrAGoneOneGetsNothing) {
    plugged = false;
    EXPECT_EQ(remove(FolderKind::Inbox, {{2, "12"}}).kind, Kind::NoPort);
    plugged = true;
    phone.unplug(); // still listed, but the device is gone: re-open fails
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}});
    EXPECT_EQ(outcome.kind, Kind::Lost);
    EXPECT_EQ(outcome.loss, LineLoss::Vanished);
    EXPECT_TRUE(phone.sent.empty());
    EXPECT_EQ(inboxTexts().size(), 5u);
}

TEST_F(DeleteOnPhoneTest, UnpluggedHalfWayKeepsTheRowsNotDeletedAndSaysSo) {
    phone.onSent = [this](const std::string& command) {
        if (command == "AT+CMGD=13")
            phone.unplug();
    };
    DeleteOnPhoneJob job(&phone, FolderKind::Inbox, {{2, "12"}, {3, "13"}, {4, "14"}}, result);
    test::ProgressLog log(job);
    ASSERT_TRUE(test::runToEnd(job));
    const DeleteOutcome& outcome = job.outcome();
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CMGF=0", "AT+CMGD=12", "AT+CMGF=0", "AT+CMGD=13"}));
    EXPECT_EQ(outcome.kind, Kind::Lost);
    EXPECT_EQ(outcome.loss, LineLoss::Vanished);
    EXPECT_EQ(outcome.deleted, std::vector<int>{2});
    EXPECT_EQ(outcome.notDeleted, 2);
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 4", "text 5"}));
    EXPECT_EQ(log.last.position, 3);
    EXPECT_FALSE(log.last.visible);
}

TEST_F(DeleteOnPhoneTest, CancelWhileTheAnswerIsAwaitedStopsAtOnce) {
    phone.answer("AT+CMGD=13", ""); // never answered: only the cancel ends the wait
    cancelAt = "AT+CMGD=13";
    DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {3, "13"}, {4, "14"}});
    EXPECT_EQ(outcome.kind, Kind::Cancelled);
    EXPECT_EQ(outcome.deleted, std::vector<int>{2});
    EXPECT_EQ(phone.sent.back(), "AT+CMGD=13");
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 4", "text 5"}));
    // The next deletion finds the phone in step.
    cancelAt.clear();
    phone.answer("AT+CMGD=13", "OK\r\n");
    outcome = remove(FolderKind::Inbox, {{2, "13"}});
    EXPECT_EQ(outcome.kind, Kind::Done);
    EXPECT_EQ(outcome.deleted, std::vector<int>{2});
}

TEST(DeletionConfirmed, OnlyAClosingOk) {
    EXPECT_TRUE(deletionConfirmed("AT+CMGD=5\r\nOK\r\n"));
    EXPECT_TRUE(deletionConfirmed("\r\nOK\r\n"));
    EXPECT_FALSE(deletionConfirmed("AT+CMGD=5\r\n"));
    EXPECT_FALSE(deletionConfirmed("AT+CMGD=5\r\nOK\r\nAT+CMGD=6\r\nERROR\r\n"));
    EXPECT_FALSE(deletionConfirmed(""));
}

// --- A standard phone's messages: every part from its own place

TEST_F(DeleteOnPhoneTest, AStandardMessageGoesFromEveryPlaceItsPartsTake) {
    phone.answer("AT+CMGD=4", "+CMS ERROR: 321\r\n"); // that part was gone already
    phone.answer("AT+CPMS?", "+CPMS: \"ME\",3,100,\"ME\",3,100,\"ME\",3,100\r\nOK\r\n");
    const DeleteOutcome outcome =
        remove(FolderKind::Inbox, {{1, "SM5,SM3,SM4"}, {2, "ME1"}, {3, "SM1"}});
    // The phone's own storage is learnt first and put back at the end.
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CPMS?", "AT+CPMS=\"SM\"", "AT+CMGD=5", "AT+CMGD=3",
                                    "AT+CMGD=4", "AT+CPMS=\"ME\"", "AT+CMGD=1", "AT+CPMS=\"SM\"",
                                    "AT+CMGD=1", "AT+CPMS=\"ME\""}));
    EXPECT_EQ(outcome.kind, Kind::Done);
    EXPECT_EQ(outcome.deleted, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 4", "text 5"}));
    EXPECT_EQ(progress.position, 3);
}

TEST_F(DeleteOnPhoneTest, AStandardMessageWithAPartRefusedStays) {
    phone.answer("AT+CMGD=3", "+CMS ERROR: 500\r\n");
    phone.answer("AT+CPMS=\"ME\"", "+CMS ERROR: 310\r\n"); // no such storage now
    const DeleteOutcome outcome =
        remove(FolderKind::Outbox, {{1, " SM5,SM3,SM4"}, {1, " ME1"}, {1, " SM7"}});
    // The row's other parts are not tried after a refusal; the storage is
    // chosen again. A phone that does not say its own storage is left as the
    // deletion leaves it.
    EXPECT_EQ(phone.sent, (Commands{"AT", "AT+CPMS?", "AT+CPMS=\"SM\"", "AT+CMGD=5", "AT+CMGD=3",
                                    "AT+CPMS=\"ME\"", "AT+CPMS=\"SM\"", "AT+CMGD=7"}));
    EXPECT_EQ(outcome.notDeleted, 2);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->command, "AT+CMGD=3");
    EXPECT_EQ(outcome.failure->errorNumber, 500);
}
