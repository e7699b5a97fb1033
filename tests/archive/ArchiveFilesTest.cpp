#include "archive/ArchiveFiles.h"
#include "TestFiles.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "core/LineList.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb;
using namespace qb::test;

TEST(FileLines, SplitsExactlyLikeTheLineListOnRandomContent) {
    std::mt19937 rng(7);
    const std::string alphabet = std::string("ab\r\n\r\n", 6) + std::string(1, '\0');
    for (int round = 0; round < 2000; ++round) {
        std::string content;
        // Now and then long enough for the counter's periodic summing.
        const int length = static_cast<int>(round % 100 == 0 ? 9000 : rng() % 70);
        for (int i = 0; i < length; ++i)
            content += alphabet[rng() % alphabet.size()];
        const auto views = fileLines::split(content);
        const auto lines = splitFileLines(content);
        ASSERT_EQ(std::vector<std::string>(views.begin(), views.end()), lines) << round;
        ASSERT_EQ(fileLines::count(content), lines.size()) << round;
    }
}

TEST(ArchiveLoad, CountsRecordsByFolderRules) {
    // Five Inbox lines hold two records; the second is padded with empty lines.
    const auto inbox = parseFolder(FolderKind::Inbox, "t1\r\n1\r\nh\r\nd\r\nt2\r\n");
    ASSERT_EQ(inbox.count(), 2);
    EXPECT_EQ(inbox.records[1].text, "t2");
    EXPECT_EQ(inbox.records[1].index, "");
    EXPECT_EQ(inbox.records[1].header, "");
    EXPECT_EQ(inbox.records[1].date, "");
    EXPECT_EQ(inbox.records[1].status, "");

    EXPECT_EQ(parseFolder(FolderKind::Inbox, "").count(), 0);
    EXPECT_EQ(parseFolder(FolderKind::Inbox, "only\r\n").count(), 1);
    EXPECT_EQ(parseFolder(FolderKind::Outbox, "only\r\n").count(), 0);
    EXPECT_EQ(parseFolder(FolderKind::Draft, "").count(), 0);
    EXPECT_EQ(parseFolder(FolderKind::Outbox, "a\r\nb\r\n").count(), 1);
    EXPECT_EQ(parseFolder(FolderKind::Outbox, "a\r\nb\r\nc\r\nd\r\n").count(), 2);
    EXPECT_EQ(parseFolder(FolderKind::Inbox, std::string(9, '\n')).count(), 3);
}

TEST(ArchiveLoad, DerivesStatusAndCorrespondentFromHeaderPositions) {
    const auto inbox =
        parseFolder(FolderKind::Inbox, "Hi\r\n5\r\n+MMGL: 5, \"REC READ\", \"+79161234567\"\r\n"
                                       "01/02/2024,10:11:12\r\n"
                                       "\r\n12\r\n+MMGL: 12, \"REC UNREAD\", \"900\"\r\nd\r\n"
                                       "x\r\n7\r\n+MMGL: 7, \"SOMETHING\", \"8800\"\r\nd\r\n");
    ASSERT_EQ(inbox.count(), 3);
    EXPECT_EQ(inbox.records[0].status, "REC READ");
    EXPECT_EQ(inbox.records[0].correspondent, "+79161234567");
    EXPECT_EQ(inbox.records[0].date, "01/02/2024,10:11:12");
    EXPECT_EQ(inbox.records[1].text, ""); // an empty text keeps its place
    EXPECT_EQ(inbox.records[1].status, "REC UNREAD");
    EXPECT_EQ(inbox.records[1].correspondent, "900");
    // No status: the number between the last two quotes.
    EXPECT_EQ(inbox.records[2].status, "");
    EXPECT_EQ(inbox.records[2].correspondent, "8800");

    const auto outbox =
        parseFolder(FolderKind::Outbox, "a\r\n 12\r\n+MMGL: 12, \"STO SENT\", \"+7000\"\r\n"
                                        "b\r\n 3\r\n+MMGL: 3, \"REC READ\", \"55\"\r\n");
    EXPECT_EQ(outbox.records[0].status, "STO SENT");
    EXPECT_EQ(outbox.records[0].correspondent, "+7000");
    EXPECT_EQ(outbox.records[1].status, "STO SENT"); // the header is not consulted
    const auto draft =
        parseFolder(FolderKind::Draft, "a\r\n 4\r\n+MMGL: 4, \"STO UNSENT\", \"1\"\r\n");
    EXPECT_EQ(draft.records[0].status, "STO UNSENT");
    EXPECT_EQ(draft.records[0].correspondent, "1");
}

TEST(ArchiveLoad, CorrespondentIsPositionalAndEmptyPastTheHeader) {
    EXPECT_EQ(deriveCorrespondent("+MMGL: 5, \"REC READ\", \"\"", "5", "REC READ"), "");
    EXPECT_EQ(deriveCorrespondent("short", "5", "REC READ"), "");
    // A header laid out differently yields whatever lies at those positions.
    EXPECT_EQ(deriveCorrespondent("+MMGL: 5,\"REC READ\",\"+7123\"", "5", "REC READ"), "123");
    EXPECT_EQ(deriveCorrespondent("no quotes", "", ""), "");
    EXPECT_EQ(deriveStatus(FolderKind::Inbox, "REC READ without quotes"), "REC READ");
    EXPECT_EQ(deriveStatus(FolderKind::Inbox, "\"REC UNRE\""), "");
}

TEST(ArchiveLoad, ReadersSeeAtMost4096CharactersAndKeepZeroBytes) {
    const std::string longLine(5000, 'x');
    const std::string binary("a\0b", 3);
    const auto folder = parseFolder(FolderKind::Inbox, longLine + "\r\n" + binary + "\r\n\r\n\r\n");
    ASSERT_EQ(folder.count(), 1);
    EXPECT_EQ(folder.records[0].text, std::string(4096, 'x'));
    EXPECT_EQ(folder.records[0].index, binary);
}

TEST(ArchiveLoad, ReloadsFoldersFromFilesFoundInAnyLetterCase) {
    QTemporaryDir dir;
    put(dir.filePath("inbox.MSG"), "t\r\n1\r\nh\r\nd\r\n");
    put(dir.filePath("OUTBOX.MSG"), "a\r\n 1\r\nh\r\nb\r\n 2\r\nh\r\n");
    Archive archive;
    archive.draft.records.resize(3); // replaced: a missing file is an empty folder
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(archive.inbox.count(), 1);
    EXPECT_EQ(archive.outbox.count(), 2);
    EXPECT_EQ(archive.draft.count(), 0);
}

TEST(ArchiveLoad, ReloadStopsAtAFileThatCannotBeRead) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), "t\r\n1\r\nh\r\nd\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("Outbox.msg")); // exists, but is no file
    Archive archive;
    archive.draft.records.resize(2);
    const auto failure = reloadArchive(dir.path(), archive);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::CannotOpen);
    EXPECT_EQ(failure->subject, dir.filePath("Outbox.msg"));
    EXPECT_FALSE(failure->reason.isEmpty());
    EXPECT_EQ(archive.inbox.count(), 1); // replaced before the failure
    EXPECT_EQ(archive.draft.count(), 2); // untouched after it
}

TEST(ArchiveLoad, HoldsMoreThanTheOriginalCapacity) {
    std::string content;
    for (int i = 0; i < 100001; ++i)
        content += "t\r\n 1\r\nh\r\n";
    EXPECT_EQ(parseFolder(FolderKind::Draft, content).count(), 100001);
}

// A FIFO, a device or a flood of bare line breaks in place of a folder file is
// refused with the file's name and why, instead of hanging or filling memory.
TEST(ArchiveLoad, RefusesWhatIsNoFolderFileAndSaysWhy) {
    QTemporaryDir dir;
    Archive archive;
    const QString inbox = dir.filePath("Inbox.msg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(inbox).constData(), 0600), 0);
    EXPECT_EQ(reloadArchive(dir.path(), archive)->reason, "Not a regular file");
    ASSERT_TRUE(QFile::remove(inbox) && QFile::link("/dev/zero", inbox));
    EXPECT_EQ(reloadArchive(dir.path(), archive)->reason, "Not a regular file");
    ASSERT_TRUE(QFile::remove(inbox));
    put(inbox, std::string(MaxFolderFileLines + 1, '\n'));
    EXPECT_EQ(reloadArchive(dir.path(), archive)->text(),
              "Cannot open file \"" + inbox + "\". Too many lines (the limit is 4000000)");
    EXPECT_EQ(archive.inbox.count(), 0);
}

// A link to a drive not mounted is no empty folder: the load says so, and a
// merge neither takes it for one nor replaces the link.
TEST(ArchiveLoad, ALinkToNothingIsReportedNotTakenForAnEmptyFolder) {
    QTemporaryDir dir;
    const QString inbox = dir.filePath("Inbox.msg");
    ASSERT_TRUE(QFile::link("/nonexistent/usb/Inbox.msg", inbox));
    Archive archive;
    const auto failure = reloadArchive(dir.path(), archive);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text(),
              "Cannot open file \"" + inbox + "\". Broken link to \"/nonexistent/usb/Inbox.msg\"");
    ReadResult read;
    setRead(read.inbox, {inboxEntry("hi", 1, "REC READ", "+7", "01/01/2005,10:00:00")});
    EXPECT_TRUE(mergeReadResult(dir.path(), read));
    EXPECT_EQ(QFileInfo(inbox).symLinkTarget(), "/nonexistent/usb/Inbox.msg");
}

// The bytes are the program's own: another program cutting the file short
// meanwhile changes nothing of them (a mapping would end the process).
TEST(ArchiveLoad, AFileCutShortWhileHeldIsStillReadWhole) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), std::string(1 << 20, 'x') + "\r\n");
    const FolderFile file(dir.filePath("Inbox.msg"));
    ASSERT_EQ(::truncate(QFile::encodeName(dir.filePath("Inbox.msg")).constData(), 0), 0);
    EXPECT_EQ(file.bytes().size(), (1u << 20) + 2);
    EXPECT_EQ(file.bytes().substr((1 << 20) - 1), "x\r\n");
    EXPECT_EQ(file.lineCount(), 1u);
}
