// Deleting on the phone against a scripted phone.
#include "reading/DeleteOnPhoneJob.h"

#include "ScriptedPhone.h"

#include <gtest/gtest.h>

using namespace qb;
using Commands = std::vector<std::string>;

namespace {

class DeleteOnPhoneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        result.inbox.countMark = "4";
        for (int k = 1; k <= 5; ++k) {
            ReadEntry& entry = result.inbox.at(k);
            entry.index = std::to_string(10 + k);
            entry.text = "text " + std::to_string(k);
            entry.date = "0" + std::to_string(k) + "/01/2005,09:05:03";
        }
        result.outbox.countMark = "0";
        result.outbox.at(1).index = " 5";
    }

    DeleteOutcome remove(FolderKind folder, const std::vector<DeleteRow>& rows) {
        phone.sent.clear();
        DeleteOnPhoneJob job(plugged ? &phone : nullptr, folder, rows, result);
        test::ProgressLog log(job);
        EXPECT_TRUE(test::runToEnd(job));
        progress = log.last;
        maximums = log.maximums;
        return job.outcome();
    }

    std::vector<std::string> inboxTexts() const {
        std::vector<std::string> texts;
        for (int k = 1; k <= *result.inbox.count(); ++k)
            texts.push_back(result.inbox.find(k)->text);
        return texts;
    }

    test::ScriptedPhone phone;
    bool plugged = true;
    ProgressState progress;
    std::vector<int> maximums;
    ReadResult result;
};

} // namespace

TEST_F(DeleteOnPhoneTest, OnlyMessageOfTheOutbox) {
    const DeleteOutcome outcome = remove(FolderKind::Outbox, {{1, " 5"}});
    EXPECT_EQ(phone.sent, (Commands{"AT+CMGF=0", "AT+CMGD= 5"}));
    EXPECT_EQ(outcome.deleted, std::vector<int>{1});
    EXPECT_EQ(result.outbox.countMark, "-1");
    EXPECT_EQ(maximums, std::vector<int>{0});
    EXPECT_EQ(progress.position, 0);
    EXPECT_FALSE(progress.visible);
}

TEST_F(DeleteOnPhoneTest, RowsTwoAndFourOfFive) {
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {4, "14"}});
    EXPECT_EQ(phone.sent, (Commands{"AT+CMGF=0", "AT+CMGD=12", "AT+CMGF=0", "AT+CMGD=14"}));
    EXPECT_EQ(outcome.deleted, (std::vector<int>{2, 4}));
    EXPECT_EQ(outcome.notDeleted, 0);
    EXPECT_EQ(result.inbox.countMark, "2");
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 5"}));
    EXPECT_EQ(result.inbox.find(2)->date, "03/01/2005,09:05:03");
    EXPECT_EQ(maximums, std::vector<int>{2});
    EXPECT_EQ(progress.position, 2);
}

TEST_F(DeleteOnPhoneTest, RowsOfASortedListKeepTheRightEntries) {
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{5, "15"}, {1, "11"}});
    EXPECT_EQ(phone.sent, (Commands{"AT+CMGF=0", "AT+CMGD=15", "AT+CMGF=0", "AT+CMGD=11"}));
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 2", "text 3", "text 4"}));
}

TEST_F(DeleteOnPhoneTest, RefusedDeletionKeepsItsRow) {
    for (const std::string refusal : {"+CMS ERROR: 321\r\n", "ERROR\r\n", "", "OK\r\nERROR\r\n"}) {
        SetUp();
        phone.answer("AT+CMGD=12", "OK\r\n");
        phone.answer("AT+CMGD=14", refusal);
        const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {4, "14"}});
        EXPECT_EQ(outcome.deleted, std::vector<int>{2});
        EXPECT_EQ(outcome.notDeleted, 1);
        EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 4", "text 5"}));
    }
}

TEST_F(DeleteOnPhoneTest, SilentPhoneDeletesNothing) {
    phone.silent = true;
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}});
    EXPECT_TRUE(outcome.deleted.empty());
    EXPECT_EQ(outcome.notDeleted, 1);
    EXPECT_EQ(result.inbox.countMark, "4");
}

TEST_F(DeleteOnPhoneTest, UnpluggedPhoneGetsNothing) {
    plugged = false;
    EXPECT_EQ(remove(FolderKind::Inbox, {{2, "12"}}).kind, DeleteOutcome::Kind::NoPort);
    plugged = true;
    phone.unplug();
    EXPECT_EQ(remove(FolderKind::Inbox, {{2, "12"}}).kind, DeleteOutcome::Kind::NoPort);
    EXPECT_TRUE(phone.sent.empty());
    EXPECT_EQ(inboxTexts().size(), 5u);
}

TEST_F(DeleteOnPhoneTest, UnpluggedHalfWayKeepsTheRowsNotDeleted) {
    phone.onSent = [this](const std::string& command) {
        if (command == "AT+CMGD=13")
            phone.unplug();
    };
    const DeleteOutcome outcome = remove(FolderKind::Inbox, {{2, "12"}, {3, "13"}, {4, "14"}});
    EXPECT_EQ(phone.sent, (Commands{"AT+CMGF=0", "AT+CMGD=12", "AT+CMGF=0", "AT+CMGD=13"}));
    EXPECT_EQ(outcome.kind, DeleteOutcome::Kind::Done);
    EXPECT_EQ(outcome.deleted, std::vector<int>{2});
    EXPECT_EQ(outcome.notDeleted, 2);
    EXPECT_EQ(inboxTexts(), (std::vector<std::string>{"text 1", "text 3", "text 4", "text 5"}));
    EXPECT_EQ(progress.position, 3);
    EXPECT_FALSE(progress.visible);
}

TEST(DeletionConfirmed, OnlyAClosingOk) {
    EXPECT_TRUE(deletionConfirmed("AT+CMGD=5\r\nOK\r\n"));
    EXPECT_TRUE(deletionConfirmed("\r\nOK\r\n"));
    EXPECT_FALSE(deletionConfirmed("AT+CMGD=5\r\n"));
    EXPECT_FALSE(deletionConfirmed("AT+CMGD=5\r\nOK\r\nAT+CMGD=6\r\nERROR\r\n"));
    EXPECT_FALSE(deletionConfirmed(""));
}
