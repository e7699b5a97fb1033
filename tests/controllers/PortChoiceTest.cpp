// The phone's port: automatic or chosen by hand, remembered, followed by the
// watcher, and what the window says of a chosen port that is not there.
#include "controllers/PortChoice.h"

#include "ControllerTesting.h"
#include "controllers/Application.h"
#include "controllers/PhoneController.h"
#include "controllers/ReadOnPlug.h"
#include "models/SettingsStore.h"
#include "phonelink/PhoneWatcher.h"
#include "tests/support/PtyPhone.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

TEST(TypedPortPath, ABareNameLivesUnderDev) {
    const struct {
        const char* typed;
        const char* path; // null: nothing chosen
    } cases[] = {
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"  /dev/rfcomm0\n", "/dev/rfcomm0"},
        {"ttyUSB1", "/dev/ttyUSB1"},
        {"serial/by-id/usb-Nokia_6230i-if00", "/dev/serial/by-id/usb-Nokia_6230i-if00"},
        {"/dev//ttyS0/", "/dev/ttyS0"},
        {"", nullptr},
        {"   ", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::optional<QString> path = typedPortPath(QString::fromUtf8(c.typed));
        ASSERT_EQ(path.has_value(), c.path != nullptr);
        if (c.path)
            EXPECT_EQ(*path, QString::fromUtf8(c.path));
    }
}

TEST(OfferedPorts, AChosenPortNotThereIsOfferedStillMarkedAbsent) {
    const std::vector<QString> found = {"/dev/ttyACM0", "/dev/ttyUSB0"};
    using Offer = std::vector<OfferedPort>;
    EXPECT_EQ(offeredPorts(found, QString(), false),
              (Offer{{"/dev/ttyACM0", true}, {"/dev/ttyUSB0", true}}));
    EXPECT_EQ(offeredPorts(found, "/dev/ttyUSB0", true),
              (Offer{{"/dev/ttyACM0", true}, {"/dev/ttyUSB0", true}}));
    EXPECT_EQ(offeredPorts(found, "/dev/rfcomm0", false),
              (Offer{{"/dev/ttyACM0", true}, {"/dev/ttyUSB0", true}, {"/dev/rfcomm0", false}}));
    // A port of a kind not offered, or a link, is offered while chosen.
    EXPECT_EQ(offeredPorts({}, "/dev/pts/3", true), (Offer{{"/dev/pts/3", true}}));
}

TEST(ConnectionCaption, AChosenPortNotThereIsToldByItsPath) {
    EXPECT_EQ(connectionCaption(true, QString()).status, "Состояние: Подключен");
    EXPECT_EQ(connectionCaption(false, QString()).status, "Состояние: Отключен");
    EXPECT_TRUE(connectionCaption(false, QString()).hint.isEmpty());
    const ConnectionCaption missing = connectionCaption(false, "/dev/ttyUSB3");
    EXPECT_EQ(missing.status, "Состояние: Нет порта");
    EXPECT_EQ(missing.hint, missingPortText("/dev/ttyUSB3"));
    EXPECT_TRUE(missing.hint.contains("/dev/ttyUSB3"));
    EXPECT_EQ(connectionCaption(true, "/dev/ttyUSB3").status, "Состояние: Подключен");
}

UsbModem foundPhone() {
    UsbModem modem;
    modem.devNode = "/dev/ttyACM0";
    modem.productName = "Nokia 6230i";
    modem.deviceId = 7;
    return modem;
}

class PortChoiceTest : public ::testing::Test {
  protected:
    PortChoiceTest() { test::ensureApplication(); }

    QString present() const { return dir.filePath("ttyUSB0"); }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.conf"))};
    PhoneWatcher watcher{[] { return std::vector<UsbModem>{foundPhone()}; }, nullptr};
    CommandState commands;
};

TEST_F(PortChoiceTest, TheChoiceIsRememberedAndFollowed) {
    // A link to a character device stands for a port that is there.
    ASSERT_TRUE(QFile::link("/dev/null", present()));
    {
        PortChoice choice(watcher, settings, commands);
        EXPECT_TRUE(choice.isAutomatic());
        ASSERT_EQ(watcher.count(), 1);
        EXPECT_EQ(watcher.ports().at(0)->modem().productName, "Nokia 6230i");

        QSignalSpy changed(&choice, &PortChoice::choiceChanged);
        EXPECT_TRUE(choice.choosePort(present()));
        EXPECT_EQ(changed.size(), 1);
        EXPECT_EQ(choice.chosenPort(), present());
        ASSERT_EQ(watcher.count(), 1);
        EXPECT_EQ(watcher.ports().at(0)->modem().devNode, present().toStdString());
        EXPECT_TRUE(choice.choosePort(present())); // no change, nothing told
        EXPECT_EQ(changed.size(), 1);
    }
    PhoneWatcher later{[] { return std::vector<UsbModem>{foundPhone()}; }, nullptr};
    PortChoice again(later, settings, commands);
    EXPECT_EQ(again.chosenPort(), present());
    EXPECT_EQ(later.followedPort(), present().toStdString());
    EXPECT_TRUE(again.chooseAutomatic());
    EXPECT_EQ(settings.text(Setting::PhonePort), QString());
    ASSERT_EQ(later.count(), 1);
    EXPECT_EQ(later.ports().at(0)->modem().productName, "Nokia 6230i");
}

TEST_F(PortChoiceTest, AChosenPortNotThereListsNoPhoneAndOffersItself) {
    settings.setText(Setting::PhonePort, "  ttyQB99 ");
    PortChoice choice(watcher, settings, commands);
    EXPECT_EQ(choice.chosenPort(), "/dev/ttyQB99");
    EXPECT_EQ(watcher.count(), 0);
    const std::vector<OfferedPort> offered = choice.offered();
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.back(), (OfferedPort{"/dev/ttyQB99", false}));
}

TEST_F(PortChoiceTest, WhileACommandRunsThePortStays) {
    PortChoice choice(watcher, settings, commands);
    auto* job = commands.run(std::make_unique<test::HeldJob>(), {});
    ASSERT_NE(job, nullptr);
    EXPECT_FALSE(commands.isEnabled(Command::ChoosePort));
    EXPECT_FALSE(choice.choosePort("/dev/ttyUSB0"));
    EXPECT_TRUE(choice.isAutomatic());
    EXPECT_FALSE(settings.contains(Setting::PhonePort));
    EXPECT_EQ(watcher.count(), 1);
    job->end();
    ASSERT_TRUE(test::waitFor([this] { return !commands.isBusy(); }));
    EXPECT_TRUE(commands.isEnabled(Command::ChoosePort));
}

// A tty that no USB device carries comes and goes unannounced: the status
// timer's look at it tells the watcher's listeners.
TEST_F(PortChoiceTest, ARecheckNoticesTheChosenPortComingAndGoing) {
    PortChoice choice(watcher, settings, commands);
    ASSERT_TRUE(choice.choosePort(present()));
    EXPECT_EQ(watcher.count(), 0);
    QSignalSpy arrived(&watcher, &PhoneWatcher::phoneArrived);
    QSignalSpy removed(&watcher, &PhoneWatcher::phoneRemoved);
    ASSERT_TRUE(QFile::link("/dev/null", present()));
    choice.recheck();
    EXPECT_EQ(watcher.count(), 1);
    EXPECT_EQ(arrived.size(), 1);
    choice.recheck();
    EXPECT_EQ(arrived.size(), 1);
    ASSERT_TRUE(QFile::remove(present()));
    choice.recheck();
    EXPECT_EQ(watcher.count(), 0);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(arrived.size(), 1);
}

const char Content[] = R"([messages]
1|REC READ|+79161234567|2009/08/18,19:11:45|Привет
2|REC READ|900|2009/12/01,08:05:03|Баланс
)";

// The program with a USB phone found and a simulated phone on a pty, a
// port no USB device carries, as a Bluetooth port is.
class ApplicationPortTest : public ::testing::Test {
  protected:
    ApplicationPortTest() {
        test::ensureApplication();
        app.start();
        idle();
    }
    void idle() {
        ASSERT_TRUE(test::waitFor([this] { return !app.commands().isBusy(); }));
    }
    QString ptyPath() const { return QString::fromStdString(phone.pty.slavePath); }

    QTemporaryDir dir;
    test::RecordedDialogs dialogs;
    test::PtyPhone phone{Content, PhoneQuirks{}};
    Application app{
        dir.path(), dialogs,
        std::make_unique<PhoneWatcher>([] { return std::vector<UsbModem>{foundPhone()}; }, nullptr),
        std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("settings.conf")))};
};

TEST_F(ApplicationPortTest, TheReadTalksToThePortChosen) {
    QSignalSpy connection(&app.phone(), &PhoneController::connectionChanged);
    app.readOnPlug().setEnabled(true);
    app.readOnPlug().setSettleTime(50);
    app.choosePort(ptyPath());
    ASSERT_GE(connection.size(), 1);
    EXPECT_TRUE(connection.last().at(0).toBool());
    EXPECT_EQ(connection.last().at(1).toString(), ptyPath()); // a bare tty is named by its path
    // Choosing a port is no plugging in: nothing is read by itself.
    QTest::qWait(150);
    EXPECT_FALSE(app.commands().isBusy());
    EXPECT_EQ(app.workspace().archiveCount(FolderKind::Inbox), 0);

    app.readPhone();
    idle();
    EXPECT_EQ(app.workspace().archiveCount(FolderKind::Inbox), 2);
    EXPECT_TRUE(dialogs.texts.isEmpty()) << dialogs.texts.join('\n').toStdString();
}

// The path dialog may be open when a command starts (a read the plugging
// started): what it gives is taken once the command has ended.
TEST_F(ApplicationPortTest, APortChosenDuringACommandIsTakenAfterIt) {
    auto* job = app.commands().run(std::make_unique<test::HeldJob>(), {});
    ASSERT_NE(job, nullptr);
    app.choosePort(ptyPath());
    EXPECT_TRUE(app.portChoice().isAutomatic());
    job->end();
    ASSERT_TRUE(test::waitFor([this] { return !app.portChoice().isAutomatic(); }));
    EXPECT_EQ(app.portChoice().chosenPort(), ptyPath());
    // The latest choice counts: automatic again, chosen while busy.
    job = app.commands().run(std::make_unique<test::HeldJob>(), {});
    ASSERT_NE(job, nullptr);
    app.choosePort(dir.filePath("rfcomm7"));
    app.choosePortAutomatically();
    job->end();
    ASSERT_TRUE(test::waitFor([this] { return app.portChoice().isAutomatic(); }));
}

TEST_F(ApplicationPortTest, AChosenPortNotThereIsNoPhoneAndSaysSo) {
    QSignalSpy noted(&app, &Application::noted);
    ASSERT_TRUE(app.commands().isEnabled(Command::Read)); // the USB phone found
    const QString missing = dir.filePath("rfcomm7");
    app.choosePort(missing);
    EXPECT_FALSE(app.phone().isConnected());
    EXPECT_FALSE(app.commands().isEnabled(Command::Read));
    ASSERT_GE(noted.size(), 1);
    EXPECT_EQ(noted.last().at(0).toString(), missingPortText(missing));
    // Back to the phone found by itself, the panel is emptied again.
    app.choosePortAutomatically();
    EXPECT_TRUE(app.commands().isEnabled(Command::Read));
    EXPECT_EQ(noted.last().at(0).toString(), QString());
}

// "Подключить" looks at a chosen port at once, without waiting for the timer.
TEST_F(ApplicationPortTest, ConnectingLooksAtTheChosenPortAgain) {
    const QString port = dir.filePath("rfcomm0");
    app.choosePort(port);
    ASSERT_FALSE(app.phone().isConnected());
    ASSERT_TRUE(QFile::link(ptyPath(), port));
    QSignalSpy noted(&app, &Application::noted);
    app.connectPhone();
    EXPECT_TRUE(app.phone().isConnected());
    EXPECT_TRUE(app.commands().isEnabled(Command::Read));
    ASSERT_EQ(noted.size(), 1);
    EXPECT_EQ(noted.at(0).at(0).toString(), QString());
    ASSERT_TRUE(QFile::remove(port));
    app.connectPhone();
    EXPECT_FALSE(app.phone().isConnected());
    EXPECT_EQ(noted.last().at(0).toString(), missingPortText(port));
}

TEST_F(ApplicationPortTest, TheProgramStartsOnTheRememberedPortAndNamesItWhenMissing) {
    const QString missing = dir.filePath("ttyUSB4");
    app.choosePort(missing);
    Application again{
        dir.path(), dialogs,
        std::make_unique<PhoneWatcher>([] { return std::vector<UsbModem>{foundPhone()}; }, nullptr),
        std::make_unique<SettingsStore>(dir.filePath("settings.conf"))};
    QSignalSpy noted(&again, &Application::noted);
    QSignalSpy connection(&again.phone(), &PhoneController::connectionChanged);
    again.start();
    ASSERT_EQ(connection.size(), 1);
    EXPECT_FALSE(connection.at(0).at(0).toBool());
    ASSERT_EQ(noted.size(), 1);
    EXPECT_EQ(noted.at(0).at(0).toString(), missingPortText(missing));
    ASSERT_TRUE(test::waitFor([&again] { return !again.commands().isBusy(); }));
}

} // namespace
