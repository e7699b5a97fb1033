// Reading the phone as it is plugged in: the setting, the second of rest
// that makes one read of a phone that comes and goes, and the wait for a
// running command.
#include "controllers/ReadOnPlug.h"

#include "ControllerTesting.h"
#include "controllers/Application.h"
#include "controllers/CommandState.h"
#include "controllers/PhoneMessages.h"
#include "models/SettingsStore.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "tests/support/PtyPhone.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

UsbModem phone(uint32_t deviceId) {
    UsbModem modem;
    modem.devNode = "/dev/ttyACM" + std::to_string(deviceId);
    modem.deviceId = deviceId;
    return modem;
}

class ReadOnPlugTest : public ::testing::Test {
  protected:
    ReadOnPlugTest() { test::ensureApplication(); }

    // The watcher lists `plugged` and tells of it as udev would.
    void plug(std::vector<UsbModem> plugged) {
        modems = std::move(plugged);
        watcher.deviceChanged("add");
    }
    void unplug() {
        modems.clear();
        watcher.deviceChanged("remove");
    }
    // Long enough for the list to rest and a read to start.
    void rest() { QTest::qWait(onPlug.settleTime() * 3 / 2); }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.conf"))};
    std::vector<UsbModem> modems{phone(1)}; // plugged in before the program started
    PhoneWatcher watcher{[this] { return modems; }, nullptr};
    CommandState commands;
    ReadOnPlug onPlug{watcher, commands, settings};
    QSignalSpy reads{&onPlug, &ReadOnPlug::readDue};
};

} // namespace

TEST_F(ReadOnPlugTest, IsOffUntilTurnedOnAndRemembered) {
    EXPECT_FALSE(onPlug.isEnabled());
    EXPECT_EQ(onPlug.settleTime(), 1000);
    onPlug.setSettleTime(100);
    plug({phone(2)});
    rest();
    EXPECT_EQ(reads.size(), 0);

    onPlug.setEnabled(true);
    EXPECT_TRUE(ReadOnPlug(watcher, commands, settings).isEnabled());
    rest(); // the phone plugged in before it was turned on is not new
    EXPECT_EQ(reads.size(), 0);
    onPlug.setEnabled(false);
    EXPECT_FALSE(ReadOnPlug(watcher, commands, settings).isEnabled());
}

TEST_F(ReadOnPlugTest, APhonePluggedInStartsOneReadOnceTheListRests) {
    onPlug.setEnabled(true);
    onPlug.setSettleTime(100);
    unplug();
    rest();
    // A plugged phone brings several events; an unrelated tty brings one more.
    plug({phone(2)});
    plug({phone(2)});
    watcher.deviceChanged("add");
    EXPECT_EQ(reads.size(), 0); // not before the list has rested
    rest();
    EXPECT_EQ(reads.size(), 1);
    watcher.deviceChanged("add");
    rest();
    EXPECT_EQ(reads.size(), 1);
    // A second phone beside the first is read too.
    plug({phone(2), phone(3)});
    rest();
    EXPECT_EQ(reads.size(), 2);
}

// The product's own second: a loose cable that drops the phone and gives it
// back within it reads once, with the phone as it ends up.
TEST_F(ReadOnPlugTest, APhoneThatComesAndGoesWithinASecondStartsOneRead) {
    onPlug.setEnabled(true);
    unplug();
    rest();
    plug({phone(4)});
    QTest::qWait(300);
    unplug();
    QTest::qWait(300);
    plug({phone(5)});
    QTest::qWait(700); // past a second since the first plug, not since the last
    EXPECT_EQ(reads.size(), 0);
    ASSERT_TRUE(test::waitFor([this] { return reads.size() == 1; }));
    QTest::qWait(1200);
    EXPECT_EQ(reads.size(), 1);

    // Gone again before the list rests: nothing to read.
    plug({phone(6)});
    QTest::qWait(100);
    unplug();
    rest();
    EXPECT_EQ(reads.size(), 1);
}

TEST_F(ReadOnPlugTest, APlugDuringAnotherCommandWaitsForItsEnd) {
    onPlug.setEnabled(true);
    onPlug.setSettleTime(100);
    auto* import = commands.run(std::make_unique<test::HeldJob>(), {});
    plug({phone(1), phone(2)});
    rest();
    EXPECT_EQ(reads.size(), 0);
    EXPECT_TRUE(onPlug.isWaiting());
    import->end();
    ASSERT_TRUE(test::waitFor([this] { return reads.size() == 1; }));
    EXPECT_FALSE(commands.isBusy());

    // Unplugged while it waits, or turned off meanwhile: no read.
    for (const bool turnOff : {false, true}) {
        auto* job = commands.run(std::make_unique<test::HeldJob>(), {});
        plug({phone(turnOff ? 8 : 7)});
        rest();
        ASSERT_TRUE(onPlug.isWaiting());
        if (turnOff)
            onPlug.setEnabled(false);
        else
            unplug();
        job->end();
        ASSERT_TRUE(test::waitFor([this] { return !commands.isBusy(); }));
        rest();
        EXPECT_EQ(reads.size(), 1);
    }
}

namespace {

// Two received messages, one sent, one contact.
const char Content[] = R"([messages]
1|REC READ|+79161234567|2009/08/18,19:11:45|Привет
2|STO SENT|+79161234567||Ответ
3|REC READ|900|2009/12/01,08:05:03|Баланс
[phonebook]
+79161234567|Мама
)";

// The program with the setting on and a simulated phone on a pty to plug in.
class ApplicationReadOnPlugTest : public ::testing::Test {
  protected:
    ApplicationReadOnPlugTest() {
        test::ensureApplication();
        app.start();
        idle();
        app.readOnPlug().setEnabled(true);
        app.readOnPlug().setSettleTime(50);
    }
    void idle() {
        ASSERT_TRUE(test::waitFor([this] { return !app.commands().isBusy(); }));
    }
    void plugIn(uint32_t deviceId) {
        UsbModem modem;
        modem.devNode = phone.pty.slavePath;
        modem.deviceId = deviceId;
        modems = {modem};
        app.watcher().deviceChanged("add");
    }
    // The notification of the read the plugging started.
    ReadNotice noticed() {
        EXPECT_TRUE(test::waitFor([this] { return notices.size() == 1; }));
        idle();
        return notices.isEmpty() ? ReadNotice{} : notices.takeFirst().at(0).value<ReadNotice>();
    }

    QTemporaryDir dir;
    test::RecordedDialogs dialogs;
    test::PtyPhone phone{Content, PhoneQuirks{}};
    std::vector<UsbModem> modems;
    Application app{dir.path(), dialogs,
                    std::make_unique<PhoneWatcher>([this] { return modems; }, nullptr),
                    std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("settings.conf")))};
    QSignalSpy notices{&app, &Application::readNoticed};
};

} // namespace

TEST_F(ApplicationReadOnPlugTest, PluggingThePhoneInFillsTheArchiveAndSaysHowMuchIsNew) {
    plugIn(1);
    const ReadNotice first = noticed();
    EXPECT_FALSE(first.failed);
    EXPECT_EQ(first.title, QStringLiteral("Телефон считан"));
    EXPECT_EQ(first.text,
              QStringLiteral("Новых сообщений в архиве: 3 (входящих 2, исходящих 1, черновых 0)."));
    EXPECT_EQ(app.workspace().archiveCount(FolderKind::Inbox), 2);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Phonebook.pbk"))));
    EXPECT_TRUE(dialogs.texts.isEmpty());

    // Plugged in again: the phone holds nothing the archive lacks.
    modems.clear();
    app.watcher().deviceChanged("remove");
    plugIn(2);
    const ReadNotice second = noticed();
    EXPECT_EQ(second.text,
              QStringLiteral("Новых сообщений нет: всё, что есть на телефоне, уже в архиве."));
    EXPECT_EQ(app.workspace().archiveCount(FolderKind::Inbox), 2);
}

// Another program holds the port: the notification says so, and no box
// waits on a window that may be hidden.
TEST_F(ApplicationReadOnPlugTest, AReadThatFailsSaysWhyInTheNotificationAlone) {
    UsbModem modem;
    modem.devNode = phone.pty.slavePath;
    PhonePort other(modem);
    ASSERT_TRUE(other.open());
    plugIn(1);
    const ReadNotice notice = noticed();
    EXPECT_TRUE(notice.failed);
    EXPECT_EQ(notice.title, QStringLiteral("Телефон не считан"));
    EXPECT_EQ(notice.text, deviceBusyText());
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Inbox.msg"))));
}

// The texts of every way a read ends, from the counts the read reports.
TEST(ReadNoticeTest, SaysWhatTheReadBroughtOrWhyItStopped) {
    ReadReport report;
    report.read = {5, 2, 1};
    report.added = {1, 0, 1};
    report.contacts = 4;
    EXPECT_EQ(readCountsText(report),
              QStringLiteral("Считано с телефона: входящих 5, исходящих 2, черновых 1, "
                             "контактов 4."));
    EXPECT_EQ(addedCountsText(report),
              QStringLiteral("Новых в архиве: входящих 1, исходящих 0, черновых 1."));
    EXPECT_EQ(readNotice(report).text,
              QStringLiteral("Новых сообщений в архиве: 2 (входящих 1, исходящих 0, черновых 1)."));
    EXPECT_FALSE(readNotice(report).failed);

    report.end = ReadReport::End::NothingListed;
    EXPECT_EQ(readNotice(report).text, nothingListedText());
    report.end = ReadReport::End::Cancelled;
    EXPECT_EQ(readNotice(report).text, readCancelledText());
    EXPECT_FALSE(readNotice(report).failed);
    report.end = ReadReport::End::Failed;
    report.failure = lostPhoneText(ReadOutcome::Kind::PortVanished, {});
    EXPECT_EQ(readNotice(report).text, report.failure);
    EXPECT_TRUE(readNotice(report).failed);
}

// Closing cancels the command a plugged phone waits for; no read starts then.
TEST_F(ApplicationReadOnPlugTest, ClosingWhileAReadWaitsStartsNone) {
    auto* job = app.commands().run(std::make_unique<test::HeldJob>(), {});
    plugIn(1);
    ASSERT_TRUE(test::waitFor([this] { return app.readOnPlug().isWaiting(); }));
    QSignalSpy ready(&app, &Application::readyToQuit);
    EXPECT_FALSE(app.requestQuit());
    EXPECT_TRUE(job->cancelled);
    ASSERT_TRUE(test::waitFor([&ready] { return ready.size() == 1; }));
    QTest::qWait(100);
    EXPECT_FALSE(app.commands().isBusy());
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Inbox.msg"))));
}

// What a standard phone's read could not archive follows the counts.
TEST(ReadNoticeTest, TellsWhatTheReadLeftOut) {
    ReadReport report;
    report.start = ReadStart::Unattended;
    report.added = {1, 0, 0};
    EXPECT_EQ(leftOutText(report.leftOut), QString());
    report.leftOut.statusReports = 2;
    report.leftOut.incompleteMessages = 1;
    report.leftOut.missingParts = 2;
    report.leftOut.undecodable = {QStringLiteral("SM7: x"), QStringLiteral("ME2: y")};
    report.leftOut.unavailable = {QStringLiteral("SM: +CMS ERROR: 310")};
    const QString text = leftOutText(report.leftOut);
    EXPECT_EQ(text.split(QLatin1Char('\n')),
              QStringList({QStringLiteral("Отчётов о доставке пропущено: 2 (это не сообщения)."),
                           QStringLiteral("Длинных сообщений без части текста: 1, недостающих "
                                          "частей: 2 (на их месте стоит «[…]»)."),
                           QStringLiteral("Не удалось разобрать сообщений: 2 — SM7: x; ME2: y."),
                           QStringLiteral("Телефон не дал прочитать: SM: +CMS ERROR: 310.")}));
    EXPECT_TRUE(readNotice(report).text.endsWith(text));
}
