// Importing P2kTools text archives into the archive Inbox.
#include "archive/P2kToolsImport.h"
#include "TestFiles.h"
#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/RecordLines.h"
#include "codecs/Timestamp.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace qb;
using namespace qb::test;

namespace {

// Remembers what the bar was told.
class WatchedProgress : public NullProgress {
  public:
    void setVisible(bool visible) override { shown = visible; }
    void setPosition(int position) override { positions.push_back(position); }
    bool shown = false;
    std::vector<int> positions;
};

std::string imported(const std::string& text, const std::string& sender, const std::string& date) {
    return text + "\r\n1000\r\n+MMGL: 1000, \"REC READ\", \"" + sender + "\"\r\n" + date + "\r\n";
}

} // namespace

TEST(P2kToolsLine, CutsTheFieldsAtTheFirstTwoSemicolons) {
    const std::string line = cp("Петя;2005/3/7,9:05:01;Hi; see you;)  ");
    const auto message = parseP2kToolsLine(line);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->folder, FolderKind::Inbox);
    EXPECT_EQ(message->index, 1000);
    EXPECT_EQ(message->status, MessageStatus::Read);
    EXPECT_EQ(message->number, cp("Петя"));
    EXPECT_EQ(message->time, (MessageTime{2005, 3, 7, 9, 5, 1}));
    std::string out;
    record::appendRecord(out, view(*message)); // further ";" and trailing blanks stay in the text
    EXPECT_EQ(out, imported("Hi; see you;)  ", cp("Петя"), "07/03/2005,09:05:01"));
    const ArchiveFolder folder = ArchiveFolder::fromContent(FolderKind::Inbox, out);
    EXPECT_EQ(folder.message(0).status, MessageStatus::Read);
    EXPECT_EQ(folder.message(0).number, cp("Петя"));
    // A date with a two-digit year is stored as the normalisation leaves it.
    const auto odd = parseP2kToolsLine("+7001;05/01/02,12:34:56+12;x");
    EXPECT_EQ(odd->time, (MessageTime{2005, 1, 2, 12, 34, 56}));
    out.clear();
    record::appendRecord(out, view(*odd));
    EXPECT_EQ(out, imported("x", "+7001", "02/01/05/0,12:34:56+12"));

    EXPECT_EQ(parseP2kToolsLine("+7001;d;" + std::string(6000, 'x'))->text.size(), 4096u - 8u);
    const std::pair<std::string_view, P2kToolsSkip> nothing[] = {
        {"", P2kToolsSkip::EmptyLine},
        {";d;no sender", P2kToolsSkip::EmptySender},
        {";d;", P2kToolsSkip::EmptySender},
        {"+7001;d;", P2kToolsSkip::EmptyText},
        {"+7001;one field", P2kToolsSkip::NoSeparator},
        {"none", P2kToolsSkip::NoSeparator}};
    for (const auto& [line, reason] : nothing) {
        P2kToolsSkip why = P2kToolsSkip::None;
        EXPECT_FALSE(parseP2kToolsLine(line, &why)) << line;
        EXPECT_EQ(why, reason) << line;
    }
}

// Random bytes taken for a P2kTools file add whatever lines happen to hold
// two ";": the summary tells the user how few lines that was, and why the
// others were left out.
TEST(P2kToolsImport, CountsWhatItImportedAndWhyItLeftLinesOut) {
    QTemporaryDir dir;
    put(dir.filePath("p2k.txt"), "+7001;d;one\r\n\r\nnone\r\n;d;x\r\n+7002;d;\r\n+7003;d;two\r\n"
                                 "+7004;d\r\n");
    NullProgress progress;
    ImportSummary summary;
    ASSERT_FALSE(
        importP2kToolsArchive(dir.path(), dir.filePath("p2k.txt"), progress, nullptr, &summary));
    EXPECT_EQ(summary.imported, 2);
    EXPECT_EQ(summary.withoutSeparator, 2);
    EXPECT_EQ(summary.withoutSender, 1);
    EXPECT_EQ(summary.withoutText, 1);

    std::mt19937 random(24);
    std::string noise(500 * 1024, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(random() & 0xff);
    put(dir.filePath("noise.txt"), noise);
    ImportSummary fromNoise;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.filePath("noise.txt"), progress, nullptr,
                                       &fromNoise));
    const int lines = fromNoise.imported + fromNoise.withoutSeparator + fromNoise.withoutSender +
                      fromNoise.withoutText;
    EXPECT_GT(fromNoise.withoutSeparator, fromNoise.imported);
    EXPECT_LE(lines, static_cast<int>(fileLines::count(noise)));
}

// The bar moves line by line. The lines go after the Inbox's last line, also one without a final
// break in a file spelt otherwise, and nothing is compared.
TEST(P2kToolsImport, AppendsEveryMessageToTheInboxAsItIs) {
    QTemporaryDir dir;
    put(dir.filePath("INBOX.MSG"), "a\n1\nh\nd");
    const QString source = dir.filePath("p2k.txt");
    put(source, "+7001;d;one\r\n\r\n+7002;d;two");
    WatchedProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), source, progress));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 1, 2}));
    EXPECT_FALSE(progress.shown);
    const std::string date = normaliseTimestamp("d");
    EXPECT_EQ(slurp(dir.filePath("INBOX.MSG")), "a\r\n1\r\nh\r\nd\r\n" +
                                                    imported("one", "+7001", date) +
                                                    imported("two", "+7002", date));
}

// Binary data, UTF-8 text and NUL bytes are taken as Windows-1251 lines like
// any others, and 100 MB as well: the Inbox stays whole four-line records.
TEST(P2kToolsImport, TakesAnyBytesAndLargeFilesAsWholeRecords) {
    QTemporaryDir dir;
    std::mt19937 random(7);
    std::string block(1u << 20, '\0');
    for (char& byte : block)
        byte = static_cast<char>(random() % 5 == 0 ? ';' : random() & 0xff);
    std::string bytes;
    for (int megabyte = 0; megabyte < 100; ++megabyte)
        bytes += block;
    bytes += "\r\n" + std::string("+7001;d;a\0b", 11) + "\r\nВася;d;Привет";
    put(dir.filePath("p2k.txt"), bytes);
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.filePath("p2k.txt"), progress));
    const std::string inbox = slurp(dir.filePath("Inbox.msg"));
    EXPECT_EQ(fileLines::count(inbox) % 4, 0u);
    EXPECT_TRUE(inbox.ends_with(imported(std::string("a\0b", 3), "+7001", normaliseTimestamp("d")) +
                                imported("Привет", "Вася", normaliseTimestamp("d"))));
}

// An Inbox cut within a record (an edited file) gets its last record filled up
// first, so the imported messages are read as what they are.
TEST(P2kToolsImport, FillsUpAPartialLastRecordBeforeAppending) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), "a\r\n1\r\nh\r\nd\r\nb\r\n");
    put(dir.filePath("p2k.txt"), "+7001;d;one\r\n");
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(dir.path(), dir.filePath("p2k.txt"), progress));
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")),
              "a\r\n1\r\nh\r\nd\r\nb\r\n\r\n\r\n\r\n" +
                  imported("one", "+7001", normaliseTimestamp("d")));
}

TEST(P2kToolsImport, FailuresLeaveTheInboxAsItWas) {
    QTemporaryDir dir;
    const std::string old = imported("old", "+7001", "01/02/2005,10:00:00");
    put(dir.filePath("Inbox.msg"), old);
    WatchedProgress progress;
    const auto missing = importP2kToolsArchive(dir.path(), dir.filePath("gone.txt"), progress);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->text(),
              "Cannot open file \"" + dir.filePath("gone.txt") + "\". No such file or directory");
    EXPECT_TRUE(importP2kToolsArchive(dir.path(), dir.path(), progress)); // a directory

    put(dir.filePath("p2k.txt"), "+7001;d;" + std::string(4000, 'y'));
    MaybeFailure full;
    {
        FileSizeLimit limit(1024);
        full = importP2kToolsArchive(dir.path(), dir.filePath("p2k.txt"), progress);
    }
    ASSERT_TRUE(full);
    EXPECT_TRUE(
        full->text().startsWith("Cannot create file \"" + dir.filePath("Inbox.msg") + "\". "));
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), old);
    EXPECT_FALSE(progress.shown);

    QFile::remove(dir.filePath("Inbox.msg"));
    QDir(dir.path()).mkdir("Inbox.msg");
    const auto inboxDir = importP2kToolsArchive(dir.path(), dir.filePath("p2k.txt"), progress);
    ASSERT_TRUE(inboxDir);
    EXPECT_TRUE(inboxDir->text().startsWith("Cannot open file \"" + dir.filePath("Inbox.msg")));
}
