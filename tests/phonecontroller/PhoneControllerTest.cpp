// The phone controller against a watcher with a chosen port list and a
// scripted phone: what it tells the user and the window.
#include "controllers/PhoneController.h"
#include "controllers/CommandState.h"
#include "controllers/PhoneMessages.h"
#include "controllers/UserDialogs.h"

#include "archive/Workspace.h"
#include "phonelink/PhoneWatcher.h"
#include "tests/phonelink/PhoneSide.h"
#include "tests/reading/ScriptedPhone.h"
#include "tests/support/PtyPhone.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qb;

namespace {

class RecordedDialogs : public UserDialogs {
  public:
    void inform(const QString& text) override { informed << text; }
    void tell(const QString& text) override { told << text; }
    void fail(const QString& text) override { failed << text; }
    void ask(const QString&, std::function<void(bool)> answered) override { answered(true); }
    QStringList informed, told, failed;
};

class PhoneControllerTest : public ::testing::Test {
  protected:
    PhoneControllerTest() { test::ensureApplication(); }

    std::vector<UsbModem> modems;
    PhoneWatcher watcher{[this] { return modems; }, nullptr};
    Workspace workspace;
    CommandState commands;
    RecordedDialogs dialogs;
    PhoneController phone{workspace, watcher, commands, dialogs};
    QSignalSpy connection{&phone, &PhoneController::connectionChanged};
};

UsbModem razr(const char* devNode) {
    UsbModem modem;
    modem.devNode = devNode;
    modem.productName = "Motorola Phone (V3)";
    modem.deviceId = 5;
    return modem;
}

} // namespace

TEST_F(PhoneControllerTest, ConnectionFollowsTheWatcher) {
    phone.refreshConnection();
    ASSERT_EQ(connection.size(), 1);
    EXPECT_FALSE(connection.at(0).at(0).toBool());
    EXPECT_EQ(phone.activePort(), nullptr);

    modems = {razr("/dev/ttyACM-none")};
    watcher.deviceChanged("add");
    phone.refreshConnection();
    EXPECT_TRUE(connection.at(1).at(0).toBool());
    EXPECT_EQ(connection.at(1).at(1).toString(), QStringLiteral("Motorola Phone (V3)"));
    ASSERT_NE(phone.activePort(), nullptr);

    // The port is gone the moment the watcher drops it, before any refresh.
    modems.clear();
    watcher.deviceChanged("remove");
    EXPECT_EQ(phone.activePort(), nullptr);
}

TEST_F(PhoneControllerTest, PortThatWillNotOpenIsReportedBusy) {
    phone.readPhone(); // no port at all
    modems = {razr("/dev/ttyACM-none")};
    watcher.deviceChanged("add");
    phone.refreshConnection();
    phone.readPhone();
    EXPECT_EQ(dialogs.informed, QStringList({deviceBusyText(), deviceBusyText()}));
    EXPECT_FALSE(commands.isBusy());
}

TEST_F(PhoneControllerTest, DeletionReportsTheRowsGoneAndTheRowsKept) {
    ReadFolder& inbox = workspace.readResult.inbox;
    inbox.resize(5);
    for (int k = 1; k <= 5; ++k)
        inbox[k - 1].index = 10 + k;
    test::ScriptedPhone scripted;
    scripted.answer("AT+CMGD=14", "+CMS ERROR: 321\r\n");
    phone.setDeletionPort(&scripted);
    std::vector<std::vector<int>> deleted;
    QObject::connect(&phone, &PhoneController::deletedOnPhone,
                     [&deleted](FolderKind, const std::vector<int>& positions) {
                         deleted.push_back(positions);
                     });
    QSignalSpy captions(&phone, &PhoneController::phoneCaptionsChanged);

    phone.deleteOnPhone(FolderKind::Inbox, {{2, "12"}, {4, "14"}});
    EXPECT_TRUE(commands.isBusy());
    phone.deleteOnPhone(FolderKind::Inbox, {{1, "11"}}); // refused while the first runs
    ASSERT_TRUE(QTest::qWaitFor([&deleted] { return !deleted.empty(); }, 5000));
    EXPECT_EQ(deleted, std::vector<std::vector<int>>{{2}});
    EXPECT_EQ(captions.size(), 1);
    // How many stayed, and the phone's own error for the command it refused.
    ASSERT_EQ(dialogs.told.size(), 1);
    EXPECT_TRUE(dialogs.told[0].startsWith(keptOnPhoneText(1)));
    EXPECT_TRUE(dialogs.told[0].contains("AT+CMGD=14"));
    EXPECT_TRUE(dialogs.told[0].contains("+CMS ERROR: 321"));
    EXPECT_EQ(inbox.size(), 4u);
    EXPECT_EQ(scripted.sent.size(), 5u); // AT, then two pairs
    EXPECT_FALSE(commands.isBusy());

    phone.setDeletionPort(nullptr); // and no active port either
    phone.deleteOnPhone(FolderKind::Inbox, {{1, "11"}});
    EXPECT_EQ(dialogs.informed.last(), deviceBusyText());
    EXPECT_EQ(deleted.size(), 1u);
}

TEST_F(PhoneControllerTest, UnplugDuringADeletionSaysSo) {
    workspace.readResult.inbox.resize(3);
    for (int k = 1; k <= 3; ++k)
        workspace.readResult.inbox[k - 1].index = 10 + k;
    test::ScriptedPhone scripted;
    scripted.onSent = [&scripted](const std::string& command) {
        if (command == "AT+CMGD=12")
            scripted.unplug();
    };
    phone.setDeletionPort(&scripted);
    phone.deleteOnPhone(FolderKind::Inbox, {{1, "11"}, {2, "12"}, {3, "13"}});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !commands.isBusy(); }, 5000));
    ASSERT_EQ(dialogs.informed.size(), 1);
    EXPECT_EQ(dialogs.informed[0], deletionLostText(LineLoss::Vanished, 2, {}));
    EXPECT_TRUE(dialogs.informed[0].contains(QStringLiteral("отключён")));
    EXPECT_EQ(workspace.readResult.inbox.size(), 2u);
}

// Every command opens the phone the watcher lists now: one plugged in again a
// moment ago is reached at once, before any status tick. While the deletion
// waits for it, it can be cancelled, and the window is told so.
TEST_F(PhoneControllerTest, DeletionReachesThePhonePluggedInNowAndCanBeCancelled) {
    test::Pty pty;
    ASSERT_FALSE(pty.slavePath.empty());
    workspace.readResult.inbox.resize(1);
    workspace.readResult.inbox[0].index = 11;
    modems = {razr("/dev/ttyACM-gone")};
    watcher.deviceChanged("add");
    phone.refreshConnection();
    modems = {razr(pty.slavePath.c_str())};
    modems[0].deviceId = 6; // plugged in again: another device
    watcher.deviceChanged("remove");
    watcher.deviceChanged("add");

    QSignalSpy notes(&phone, &PhoneController::note);
    phone.deleteOnPhone(FolderKind::Inbox, {{1, "11"}});
    ASSERT_TRUE(commands.isBusy());
    EXPECT_TRUE(commands.isEnabled(Command::CancelJob)); // the user may stop it
    EXPECT_EQ(test::readFor(pty.master, 200), "AT\r\n"); // the bare AT that brings it in step
    commands.cancelByUser();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !commands.isBusy(); }, 5000));
    EXPECT_FALSE(commands.isEnabled(Command::CancelJob));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes.at(0).at(0).toString(), deletionCancelledText());
    EXPECT_TRUE(dialogs.informed.isEmpty());
    EXPECT_EQ(workspace.readResult.inbox.size(), 1u);
}

// A read ends with one report, whoever asked for it; only the user who
// pressed the button gets a box. The phone is left to other programs after it.
TEST_F(PhoneControllerTest, EveryReadReportsHowItEndedAndLeavesThePortToOthers) {
    QSignalSpy reports(&phone, &PhoneController::readReported);
    phone.readPhone(ReadStart::Unattended); // no phone at all
    phone.readPhone();
    ASSERT_EQ(reports.size(), 2);
    for (const QList<QVariant>& signal : reports) {
        const auto report = signal.at(0).value<ReadReport>();
        EXPECT_EQ(report.end, ReadReport::End::Failed);
        EXPECT_EQ(report.failure, deviceBusyText());
    }
    EXPECT_EQ(reports.at(0).at(0).value<ReadReport>().start, ReadStart::Unattended);
    EXPECT_EQ(dialogs.informed, QStringList({deviceBusyText()}));

    QTemporaryDir dir;
    workspace.workDir = dir.path();
    test::PtyPhone simulated("[messages]\n"
                             "4|REC READ|+7001|2010/01/02,03:04:05|Один\n"
                             "5|STO SENT|+7001||Два\n"
                             "[phonebook]\n+7001|Мама\n900|Банк\n",
                             PhoneQuirks{});
    modems = {razr(simulated.pty.slavePath.c_str())};
    watcher.deviceChanged("add");
    for (const int added : {1, 0}) {
        const qsizetype before = reports.size();
        phone.readPhone(ReadStart::Unattended);
        ASSERT_TRUE(QTest::qWaitFor([&] { return reports.size() == before + 1; }, 10000));
        const auto report = reports.last().at(0).value<ReadReport>();
        EXPECT_EQ(report.end, ReadReport::End::Read);
        EXPECT_EQ(report.read, (FolderCounts{1, 1, 0}));
        EXPECT_EQ(report.added, (FolderCounts{added, added, 0}));
        EXPECT_EQ(report.contacts, 2);
        UsbModem sameTty;
        sameTty.devNode = simulated.pty.slavePath;
        PhonePort other(sameTty);
        EXPECT_TRUE(other.open());
    }
    EXPECT_EQ(dialogs.informed.size(), 1);
}
