// `quillbox --read` against a mocked RAZR V3 answered by the phone
// simulator: the files the window's read writes, the exit statuses, a
// signal in the middle of the read, the archive shared with a window, and
// the progress on a terminal.
// glib names a struct member "signals", which Qt defines as a keyword: first.
#include <umockdev.h>

#include "ProgramRun.h"
#include "archive/ArchiveLock.h"
#include "controllers/Application.h"
#include "controllers/PhoneMessages.h"
#include "controllers/UserDialogs.h"
#include "phonelink/PhonePort.h"
#include "tests/e2e/ServedPhone.h"
#include "tests/e2e/SmallPhone.h"
#include "tests/support/JobRun.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace qb;
using namespace qb::test;

namespace {

const std::string FirstReadSummary =
    "Считано с телефона: входящих 4, исходящих 2, черновых 1, контактов 3.\n"
    "Новых в архиве: входящих 4, исходящих 2, черновых 1.\n";
const std::string NothingNewSummary =
    "Считано с телефона: входящих 4, исходящих 2, черновых 1, контактов 3.\n"
    "Новых в архиве: входящих 0, исходящих 0, черновых 0.\n";

// An archive from an earlier read, which a stopped read must leave as it was.
const QMap<QString, QByteArray> EarlierArchive = {
    {"Inbox.msg", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n1\r\n+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n"
                  "25/12/2008,10:15:02\r\n"},
    {"Phonebook.pbk", "3\r\n+79161234567\r\n\xCC\xE0\xEC\xE0\r\n\r\n"}};

std::string deviceDescription() {
    std::ifstream file(QUILLBOX_TEST_DATA "/devices/motorola-v3.umockdev");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

ServeTiming timing(const std::function<void(PhoneQuirks&)>& quirks = {}) {
    ServeTiming timing;
    timing.latencyMs = 0;
    if (quirks)
        quirks(timing.quirks);
    return timing;
}

// A folder for the program to run in: what it holds, file by file.
class Folder {
  public:
    explicit Folder(const QMap<QString, QByteArray>& files = {}) {
        for (auto file = files.begin(); file != files.end(); ++file) {
            QFile out(m_dir.filePath(file.key()));
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(file.value());
        }
    }
    std::string path() const { return m_dir.path().toStdString(); }
    QString qpath() const { return m_dir.path(); }
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> all;
        const QDir dir(m_dir.path());
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
            QFile file(dir.filePath(name));
            all[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unread>");
        }
        return all;
    }
    // The four files a read writes.
    QMap<QString, QByteArray> archive() const {
        QMap<QString, QByteArray> four = files();
        for (const QString& name : four.keys())
            if (!name.endsWith(".msg") && name != "Phonebook.pbk")
                four.remove(name);
        return four;
    }

  private:
    QTemporaryDir m_dir;
};

ProgramRun read(const Folder& folder, std::vector<std::string> more = {},
                std::function<void(pid_t, const std::string&)> whileRunning = {}) {
    std::vector<std::string> arguments{"--read"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return runProgram({folder.path(), arguments, false, std::move(whileRunning)});
}

class Boxes : public UserDialogs {
  public:
    void inform(const QString& text) override { texts << text; }
    void tell(const QString& text) override { texts << text; }
    void fail(const QString& text) override { texts << text; }
    void ask(const QString&, std::function<void(bool)> answered) override { answered(false); }
    QStringList texts;
};

class ReadCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* preload = std::getenv("LD_PRELOAD");
        if (!preload || !std::strstr(preload, "libumockdev-preload"))
            GTEST_SKIP() << "needs umockdev's preload (run under umockdev-wrapper)";
        ensureApplication();
    }
    // The phone plugged in, answering as `served` says.
    void plugIn(ServeTiming served = timing()) {
        phone = std::make_unique<e2e::ServedPhone>(parsePhoneContent(e2e::SmallPhone), served);
        std::string error;
        ASSERT_TRUE(phone->plug(error)) << error;
    }

    std::unique_ptr<e2e::ServedPhone> phone;
};

} // namespace

// The window's read runs in this process, through the program object the
// window is built on; the command line's runs as a program of its own.
TEST_F(ReadCommandTest, GivesTheFilesOfTheWindowsReadAndSharesTheArchiveWithAWindow) {
    plugIn();
    Folder byCommand;
    const ProgramRun first = read(byCommand);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, FirstReadSummary);
    EXPECT_NE(first.err.find("Motorola Phone (V3), /dev/ttyACM0"), std::string::npos) << first.err;
    // Without a terminal the progress is lines a log keeps.
    EXPECT_NE(first.err.find("\nЧтение списка сообщений…\n"), std::string::npos) << first.err;
    EXPECT_EQ(first.err.find('\r'), std::string::npos);

    Folder byWindow;
    Boxes boxes;
    Application window(byWindow.qpath(), boxes);
    window.start();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.commands().isBusy(); }, 10000));
    window.readPhone();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.commands().isBusy(); }, 10000));
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('\n').toStdString();
    ASSERT_EQ(byCommand.archive().size(), 4);
    EXPECT_TRUE(byCommand.archive() == byWindow.archive());

    // With the window still open on its archive, the command line reads into
    // it too, by the port named: nothing is new, nothing changes.
    const QMap<QString, QByteArray> windowFiles = byWindow.archive();
    const ProgramRun beside = read(byWindow, {"--port", "/dev/ttyACM0"});
    ASSERT_EQ(beside.status, 0) << beside.err;
    EXPECT_EQ(beside.out, NothingNewSummary);
    EXPECT_TRUE(byWindow.archive() == windowFiles);

    // The counts in the desktop's language; the files the same.
    const ProgramRun english =
        runProgram({byWindow.path(), {"--read"}, false, {}, 60000, {"QUILLBOX_LANG=en"}});
    ASSERT_EQ(english.status, 0) << english.err;
    EXPECT_EQ(english.out, "Read from the phone: Inbox 4, Sent 2, Drafts 1, contacts 3.\n"
                           "New in the archive: Inbox 0, Sent 0, Drafts 0.\n");
    EXPECT_NE(english.err.find("Reading the list of messages…"), std::string::npos);
    EXPECT_TRUE(byWindow.archive() == windowFiles);
}

// A phone of another maker is read by the standard commands; what the read
// left out follows the counts.
TEST_F(ReadCommandTest, ReadsAStandardPhoneAndTellsWhatItLeftOut) {
    QFile content(QStringLiteral(QUILLBOX_STANDARD_PHONE));
    ASSERT_TRUE(content.open(QIODevice::ReadOnly));
    phone = std::make_unique<e2e::ServedPhone>(parsePhoneContent(content.readAll().toStdString()),
                                               timing(), "nokia-6230i");
    std::string error;
    ASSERT_TRUE(phone->plug(error)) << error;
    Folder folder;
    const ProgramRun run = read(folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Считано с телефона: входящих 8, исходящих 2, черновых 1, контактов 8.\n"
                       "Новых в архиве: входящих 8, исходящих 2, черновых 1.\n"
                       "Отчётов о доставке пропущено: 1 (это не сообщения).\n"
                       "Длинных сообщений без части текста: 1, недостающих частей: 1 (на их "
                       "месте стоит «[…]»).\n");
    EXPECT_NE(run.err.find("Nokia 6230i, /dev/ttyACM0"), std::string::npos) << run.err;
    EXPECT_EQ(phone->countCommands("AT+CGMI"), 0); // its USB vendor tells
    EXPECT_EQ(phone->countCommands("AT+CMGL=4"), 2);
}

TEST_F(ReadCommandTest, WithoutAPhoneItSaysSoAndWithTwoItAsksWhichOne) {
    UMockdevTestbed* testbed = umockdev_testbed_new();
    Folder folder;
    ProgramRun run = read(folder);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("телефон не найден"), std::string::npos) << run.err;
    run = read(folder, {"--port", "/dev/ttyACM7"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("/dev/ttyACM7"), std::string::npos) << run.err;
    run = read(folder, {"--port", "/dev/null"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(folder.files().isEmpty()); // not even the lock file

    std::string second = replaceAll(deviceDescription(), "Phone__V3_-if00", "Phone__V3_-if00-2");
    second = replaceAll(replaceAll(second, "1-2", "1-3"), "ttyACM0", "ttyACM1");
    second = replaceAll(replaceAll(second, "dev=166:0", "dev=166:1"), "devnum=5", "devnum=6");
    for (const std::string& description : {deviceDescription(), second}) {
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, description.c_str(), &error));
    }
    run = read(folder);
    EXPECT_EQ(run.status, 2);
    for (const char* named :
         {"Motorola Phone (V3), /dev/ttyACM0", "Motorola Phone (V3), /dev/ttyACM1", "--port"})
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    EXPECT_TRUE(folder.files().isEmpty());
    g_object_unref(testbed);
}

// The phone fails as the window would say it, and the archive stays as it was.
TEST_F(ReadCommandTest, APhoneThatFailsEndsWithTheWindowsTextAndStatus1) {
    plugIn(timing([](PhoneQuirks& q) {
        q.refusedCommand = "AT+CMGR=2";
        q.cmsError = 500;
    }));
    Folder folder(EarlierArchive);
    ProgramRun run = read(folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("AT+CMGR=2"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("+CMS ERROR: 500"), std::string::npos) << run.err;
    EXPECT_TRUE(folder.files() == Folder(EarlierArchive).files());

    // Another program holds the port: the window's "busy".
    UsbModem modem;
    modem.devNode = "/dev/ttyACM0";
    PhonePort holder(modem);
    ASSERT_TRUE(holder.open());
    run = read(folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(deviceBusyText().toStdString()), std::string::npos) << run.err;
}

// A signal mid-read ends the program as the signal does, once the read has
// stopped: the archive is as it was, and nothing is left beside it. A phone
// answering every command after 150 ms gives time to send it.
TEST_F(ReadCommandTest, ASignalMidReadLeavesTheArchiveAsItWas) {
    plugIn(timing([](PhoneQuirks& q) { q.answerDelayMs = 150; }));
    for (const int signal : {SIGTERM, SIGINT}) {
        Folder folder(EarlierArchive);
        bool sent = false;
        const int dated = phone->countCommands("AT+CMGR=");
        const ProgramRun run = read(folder, {}, [&](pid_t pid, const std::string&) {
            if (!sent && phone->countCommands("AT+CMGR=") > dated) {
                sent = true;
                ::kill(pid, signal);
            }
        });
        ASSERT_TRUE(sent) << run.err;
        EXPECT_EQ(run.signal, signal) << run.status << run.err;
        EXPECT_NE(run.err.find(readCancelledText().toStdString()), std::string::npos) << run.err;
        EXPECT_TRUE(folder.files() == Folder(EarlierArchive).files());
    }
}

// One writer at a time: while another copy (a window) changes the archive,
// the read waits for it, and a signal then stops the wait with nothing written.
TEST_F(ReadCommandTest, WaitsForTheArchiveAnotherCopyIsChanging) {
    plugIn();
    Folder folder(EarlierArchive);
    {
        ArchiveLock other(folder.qpath());
        ASSERT_TRUE(other.mayWrite());
        const QMap<QString, QByteArray> before = folder.files();
        bool sent = false;
        const ProgramRun stopped = read(folder, {}, [&sent](pid_t pid, const std::string& said) {
            if (!sent && said.find("Запись в архив") != std::string::npos) {
                sent = true;
                QTest::qSleep(300); // waiting for the lock by now
                ::kill(pid, SIGTERM);
            }
        });
        EXPECT_EQ(stopped.signal, SIGTERM) << stopped.err;
        EXPECT_TRUE(folder.files() == before);
    }
    auto released = std::make_unique<ArchiveLock>(folder.qpath());
    const ProgramRun waited = read(folder, {}, [&released](pid_t, const std::string& said) {
        if (released && said.find("Запись в архив") != std::string::npos) {
            QTest::qSleep(500);
            released.reset();
        }
    });
    EXPECT_EQ(waited.status, 0) << waited.err;
    EXPECT_EQ(waited.out, "Считано с телефона: входящих 4, исходящих 2, черновых 1, контактов 3.\n"
                          "Новых в архиве: входящих 3, исходящих 2, черновых 1.\n");
}

// On a terminal the progress is one line that rewrites itself, cleared
// before the counts.
TEST_F(ReadCommandTest, OnATerminalTheProgressRewritesOneLine) {
    plugIn();
    Folder folder;
    const ProgramRun run = runProgram({folder.path(), {"--read"}, true, {}});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\rЧтение списка сообщений…"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\rВремя получения сообщений: 3 из 4"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("из 4\r\n"), std::string::npos) << run.out;
    const std::string summary = replaceAll(FirstReadSummary, "\n", "\r\n");
    ASSERT_GT(run.out.size(), summary.size());
    EXPECT_EQ(run.out.substr(run.out.size() - summary.size()), summary);
    const std::string beforeSummary = run.out.substr(0, run.out.size() - summary.size());
    EXPECT_TRUE(beforeSummary.ends_with("\r")) << beforeSummary;
}
