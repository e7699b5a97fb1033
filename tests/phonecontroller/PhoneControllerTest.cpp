// The phone controller against a watcher with a chosen port list and a
// scripted phone: what it tells the user and the window.
#include "controllers/PhoneController.h"
#include "controllers/CommandState.h"
#include "controllers/PhoneMessages.h"
#include "controllers/UserDialogs.h"

#include "archive/Workspace.h"
#include "phonelink/PhoneWatcher.h"
#include "tests/reading/ScriptedPhone.h"

#include <QSignalSpy>

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
    inbox.countMark = "4";
    for (int k = 1; k <= 5; ++k)
        inbox.at(k).index = std::to_string(10 + k);
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
    EXPECT_EQ(dialogs.told, QStringList{keptOnPhoneText(1)});
    EXPECT_EQ(inbox.countMark, "3");
    EXPECT_EQ(scripted.sent.size(), 4u);
    EXPECT_FALSE(commands.isBusy());

    phone.setDeletionPort(nullptr); // and no active port either
    phone.deleteOnPhone(FolderKind::Inbox, {{1, "11"}});
    EXPECT_EQ(dialogs.told.last(), deviceBusyText());
    EXPECT_EQ(deleted.size(), 1);
}
