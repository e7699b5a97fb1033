// Importing P2kTools text archives into the archive Inbox.
#include "archive/P2kToolsImport.h"
#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/FolderTree.h"
#include "core/FileStore.h"
#include "reading/Timestamp.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>

using namespace qb;
using namespace qb::test;

namespace {

// Remembers what the window would have been shown, and runs a step of the
// test's own where the window would handle its events.
class WatchedProgress : public NullProgress {
public:
    void setVisible(bool visible) override { shown = visible; everShown |= visible; }
    void setPosition(int position) override
    {
        NullProgress::setPosition(position);
        positions.push_back(position);
    }
    void processEvents() override
    {
        ++eventRuns;
        if (onEvents)
            onEvents();
    }
    bool shown = false;
    bool everShown = false;
    int eventRuns = 0;
    std::vector<int> positions;
    std::function<void()> onEvents;
};

struct WorkDir : QTemporaryDir {
    QString inbox() const { return filePath("Inbox.msg"); }
    QString source(const std::string& bytes) const
    {
        put(filePath("archive.txt"), bytes);
        return filePath("archive.txt");
    }
};

const std::string TwoRecords =
    "old one\r\n3\r\n+MMGL: 3, \"REC READ\", \"+7001\"\r\n01/02/2005,10:00:00\r\n"
    "old two\r\n4\r\n+MMGL: 4, \"REC UNREAD\", \"+7002\"\r\n02/02/2005,11:00:00\r\n";

std::string imported(const std::string& text, const std::string& sender, const std::string& date)
{
    return text + "\r\n1000\r\n+MMGL: 1000, \"REC READ\", \"" + sender + "\"\r\n" + date + "\r\n";
}

} // namespace

// --- One line

TEST(P2kToolsLine, CutsTheFieldsAtTheFirstTwoSemicolons)
{
    const auto message = parseP2kToolsLine("+79001234567;2005/3/7,9:05:01;Hi; see you;)  ");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->sender, "+79001234567");
    EXPECT_EQ(message->date, "07/03/2005,09:05:01");
    EXPECT_EQ(message->text, "Hi; see you;)  "); // further ";" and trailing blanks stay

    // An empty date still gives a record; its date is whatever normalising gives.
    EXPECT_TRUE(parseP2kToolsLine("+7001;;text"));
    // What a reader sees of an overlong line is its first 4096 characters.
    const auto longLine = parseP2kToolsLine("+7001;d;" + std::string(6000, 'x'));
    ASSERT_TRUE(longLine);
    EXPECT_EQ(longLine->text.size(), 4096u - 8u);
}

TEST(P2kToolsLine, LinesThatDescribeNoMessageAddNothing)
{
    for (const std::string_view line :
         {"", ";2005/3/7,9:05:01;no sender", "+7001;2005/3/7,9:05:01;", "+7001;one field",
          "no fields at all", "+7001;;", ";;"})
        EXPECT_FALSE(parseP2kToolsLine(line)) << line;
}

// The record reads back as a received, read message from the sender, with
// the index and date columns the list shows.
TEST(P2kToolsLine, TheRecordReadsBackAsAReadInboxMessage)
{
    std::string out;
    appendImportedRecord(out, *parseP2kToolsLine(cp("Петя;2006/12/31,23:59:58;С Новым годом!")));
    EXPECT_EQ(out, imported(cp("С Новым годом!"), cp("Петя"), "31/12/2006,23:59:58"));
    const ArchiveFolder folder = parseFolder(FolderKind::Inbox, out);
    ASSERT_EQ(folder.count(), 1);
    const ArchiveRecord& record = folder.records.front();
    EXPECT_EQ(record.Status, "REC READ");
    EXPECT_EQ(record.Correspondent, cp("Петя"));
    EXPECT_EQ(record.Index, "1000");
    EXPECT_EQ(record.Header.substr(0, 13), "+MMGL: 1000, ");
}

// --- Whole files

TEST(P2kToolsImport, AppendsAfterTheInboxAndComparesNothing)
{
    WorkDir dir;
    put(dir.inbox(), TwoRecords);
    const QString source = dir.source("+7001;2005/1/2,3:04:05;first\r\n"
                                      ";2005/1/2,3:04:05;no sender\r\n"
                                      "+7002;2005/1/2,3:04:06;second; with ;\r\n"
                                      "\r\n"
                                      "+7003;2005/1/2,3:04:07;third\n");
    WatchedProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), source, progress));
    const std::string added = imported("first", "+7001", "02/01/2005,03:04:05") +
                              imported("second; with ;", "+7002", "02/01/2005,03:04:06") +
                              imported("third", "+7003", "02/01/2005,03:04:07");
    EXPECT_EQ(slurp(dir.inbox()), TwoRecords + added);
    EXPECT_EQ(fileLines::count(slurp(dir.inbox())), 20u);
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(cp1251::toUnicode(folderCaption(FolderKind::Inbox, archive.inbox.count())),
              QStringLiteral("Входящие (5)"));
    EXPECT_TRUE(progress.everShown);
    EXPECT_FALSE(progress.shown);
    EXPECT_EQ(progress.maximum(), 5);

    ASSERT_FALSE(importP2kToolsArchive(dir.path(), source, progress));
    EXPECT_EQ(slurp(dir.inbox()), TwoRecords + added + added);
}

// No Inbox yet: it is created with the imported records alone. A hand-made
// Inbox spelt otherwise and without a final break is continued in place.
TEST(P2kToolsImport, CreatesOrContinuesTheInboxFile)
{
    WorkDir dir;
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.source("+7001;d;hello"), progress));
    EXPECT_EQ(slurp(dir.inbox()), imported("hello", "+7001", NormaliseTimestamp("d")));

    WorkDir other;
    put(other.filePath("INBOX.MSG"), "a\n1\nh\nd");
    ASSERT_FALSE(importP2kToolsArchive(other.path(), other.source("+7001;d;x"), progress));
    EXPECT_EQ(slurp(other.filePath("INBOX.MSG")),
              "a\r\n1\r\nh\r\nd\r\n" + imported("x", "+7001", NormaliseTimestamp("d")));
    EXPECT_FALSE(QFile::exists(other.inbox()));
}

// Window events run between lines; a source removed meanwhile is already read.
TEST(P2kToolsImport, LetsEventsRunBetweenLinesAndSurvivesTheSourceVanishing)
{
    WorkDir dir;
    const QString source = dir.source("+7001;d;a\r\n+7002;d;b\r\n+7003;d;c\r\n");
    WatchedProgress progress;
    progress.onEvents = [&] {
        if (progress.positions.size() > 1) // the lines are being taken
            QFile::remove(source);
    };
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), source, progress, 0));
    EXPECT_GE(progress.eventRuns, 3); // at least once a line, more while waiting for the disk
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 1, 2}));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(parseFolder(FolderKind::Inbox, slurp(dir.inbox())).count(), 3);
}

// Bytes that are no P2kTools archive: binary data, UTF-8 text, NUL bytes.
// The import takes them as Windows-1251 lines like any other, and the Inbox
// stays a file of whole four-line records.
TEST(P2kToolsImport, BinaryAndUtf8SourcesGiveWholeRecords)
{
    WorkDir dir;
    std::mt19937 random(7);
    std::string binary(1 << 20, '\0');
    for (char& byte : binary)
        byte = static_cast<char>(random() % 7 == 0 ? ';' : random() & 0xff);
    binary += "\r\n" + std::string("+7001;d;a\0b", 11) + "\r\n" + "Вася;2005/1/2,3:04:05;Привет\r\n";
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.source(binary), progress));
    const std::string inbox = slurp(dir.inbox());
    EXPECT_EQ(fileLines::count(inbox) % 4, 0u);
    EXPECT_TRUE(inbox.ends_with(std::string("a\0b", 3) + "\r\n1000\r\n+MMGL: 1000, \"REC READ\", \"+7001\"\r\n" +
                                NormaliseTimestamp("d") + "\r\n" +
                                imported("Привет", "Вася", "02/01/2005,03:04:05")));
}

// 100 MB of messages.
TEST(P2kToolsImport, TakesAHundredMegabyteArchive)
{
    WorkDir dir;
    const std::string line = "+79001234567;2005/3/7,9:05:01;" + std::string(68, 'x') + "\r\n";
    std::string big;
    big.reserve(100u << 20);
    while (big.size() + line.size() <= (100u << 20))
        big += line;
    const std::size_t lines = big.size() / line.size();
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.source(big), progress));
    big = {};
    EXPECT_EQ(fileLines::count(slurp(dir.inbox())), 4 * lines);
}

TEST(P2kToolsImport, FailuresLeaveTheInboxAsItWas)
{
    WorkDir dir;
    put(dir.inbox(), TwoRecords);
    WatchedProgress progress;
    const auto missing = importP2kToolsArchive(dir.path(), dir.filePath("gone.txt"), progress);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->text(), "Cannot open file \"" + dir.filePath("gone.txt") +
                                   "\". No such file or directory");
    EXPECT_FALSE(progress.shown);
    const auto directory = importP2kToolsArchive(dir.path(), dir.path(), progress);
    ASSERT_TRUE(directory);
    EXPECT_TRUE(directory->text().startsWith("Cannot open file"));

    // A full disk, played by a file-size limit.
    const QString source = dir.source("+7001;d;" + std::string(4000, 'y') + "\r\n");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto full = importP2kToolsArchive(dir.path(), source, progress);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->text().startsWith("Cannot create file \"" + dir.inbox() + "\". "));
    EXPECT_EQ(slurp(dir.inbox()), TwoRecords);
    EXPECT_FALSE(progress.shown);

    // An Inbox that is a directory stops the import before the source is read.
    WorkDir blocked;
    QDir(blocked.path()).mkdir("Inbox.msg");
    const auto inboxDir = importP2kToolsArchive(blocked.path(), blocked.source("+7001;d;x"), progress);
    ASSERT_TRUE(inboxDir);
    EXPECT_TRUE(inboxDir->text().startsWith("Cannot open file \"" + blocked.inbox()));
    EXPECT_TRUE(QFileInfo(blocked.inbox()).isDir());
}
