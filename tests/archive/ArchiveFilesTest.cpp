#include "archive/ArchiveFiles.h"
#include "TestFiles.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "archive/RecordLines.h"
#include "core/LineList.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb;
using namespace qb::test;

namespace {

// The lines of a folder's records as a reader sees them, each ended by "|".
std::string linesOf(const ArchiveFolder& folder) {
    std::string lines;
    for (const MessageView message : folder) {
        std::string record;
        record::appendRecord(record, message);
        for (char& c : record)
            c = c == '\r' ? '|' : c;
        lines += record;
    }
    std::erase(lines, '\n');
    return lines;
}

// The same content as splitFileLines reads it, in records of the folder's size.
std::string expectedLinesOf(FolderKind kind, const std::string& content) {
    std::vector<std::string> lines = splitFileLines(content);
    const std::size_t size = static_cast<std::size_t>(record::lineCount(kind));
    if (kind != FolderKind::Inbox && lines.size() <= 1)
        return {};
    lines.resize((lines.size() + size - 1) / size * size);
    std::string joined;
    for (const std::string& line : lines)
        joined += line.substr(0, LineList::MaxLineLength) + "|";
    return joined;
}

} // namespace

TEST(FileLines, SplitsExactlyLikeTheLineListOnRandomContent) {
    std::mt19937 rng(7);
    const std::string alphabet = std::string("ab\r\n\r\n", 6) + std::string(1, '\0');
    for (int round = 0; round < 2000; ++round) {
        std::string content;
        // Now and then long enough for the counter's periodic summing.
        const int length = static_cast<int>(round % 100 == 0 ? 9000 : rng() % 200);
        for (int i = 0; i < length; ++i)
            content += alphabet[rng() % alphabet.size()];
        const auto lines = splitFileLines(content);
        std::vector<std::string> views;
        fileLines::Cursor cursor(content);
        for (std::string_view line; cursor.next(line);)
            views.emplace_back(line);
        ASSERT_EQ(views, lines) << round;
        ASSERT_EQ(fileLines::count(content), lines.size()) << round;
        const FolderKind kind = round % 2 ? FolderKind::Inbox : FolderKind::Outbox;
        ASSERT_EQ(linesOf(ArchiveFolder::fromContent(kind, content)),
                  expectedLinesOf(kind, content))
            << round;
    }
}

// A folder file is taken apart while it is read, a few hundred KB at a time:
// breaks that straddle two pieces, CR LF split between them above all, are
// read as if the file came whole.
TEST(ArchiveLoad, AFolderReadInPiecesReadsAsAWholeOne) {
    QTemporaryDir dir;
    const std::string record =
        "text\r\n12\r\n+MMGL: 12, \"REC READ\", \"+7\"\r\n01/02/2005,10:11:12\r";
    for (const std::size_t shift : {0, 1, 2, 3, 5}) {
        std::string content(shift, 'x');
        content += "\r\n1\r\nh\r\nd\r\n";
        while (content.size() < (600u << 10))
            content += record + (content.size() % 3 ? "\n" : "");
        SCOPED_TRACE(shift);
        put(dir.filePath("Inbox.msg"), content);
        ArchiveFolder folder;
        ASSERT_FALSE(folder.reload(dir.filePath("Inbox.msg")));
        EXPECT_EQ(linesOf(folder), expectedLinesOf(FolderKind::Inbox, content));
    }
}

TEST(ArchiveLoad, CountsRecordsByFolderRules) {
    // Five Inbox lines hold two records; the second is padded with empty lines.
    const auto inbox = ArchiveFolder::fromContent(FolderKind::Inbox, "t1\r\n1\r\nh\r\nd\r\nt2\r\n");
    ASSERT_EQ(inbox.count(), 2);
    const MessageView partial = inbox.message(1);
    EXPECT_EQ(partial.text, "t2");
    EXPECT_EQ(partial.index, std::nullopt);
    EXPECT_EQ(record::indexLine(partial), "");
    EXPECT_EQ(partial.stored.header, "");
    EXPECT_EQ(partial.time, std::nullopt);
    EXPECT_EQ(partial.status, MessageStatus::None);

    const std::pair<FolderKind, std::string> folders[] = {
        {FolderKind::Inbox, ""},
        {FolderKind::Inbox, "only\r\n"},
        {FolderKind::Outbox, "only\r\n"},
        {FolderKind::Draft, ""},
        {FolderKind::Outbox, "a\r\nb\r\n"},
        {FolderKind::Outbox, "a\r\nb\r\nc\r\nd\r\n"},
        {FolderKind::Inbox, std::string(9, '\n')}};
    const int counts[] = {0, 1, 0, 0, 1, 2, 3};
    for (std::size_t i = 0; i < std::size(counts); ++i)
        EXPECT_EQ(ArchiveFolder::fromContent(folders[i].first, folders[i].second).count(),
                  counts[i])
            << i;
}

TEST(ArchiveLoad, DerivesStatusAndCorrespondentFromHeaderPositions) {
    const auto inbox = ArchiveFolder::fromContent(
        FolderKind::Inbox, "Hi\r\n5\r\n+MMGL: 5, \"REC READ\", \"+79161234567\"\r\n"
                           "01/02/2024,10:11:12\r\n"
                           "\r\n12\r\n+MMGL: 12, \"REC UNREAD\", \"900\"\r\nd\r\n"
                           "x\r\n7\r\n+MMGL: 7, \"SOMETHING\", \"8800\"\r\nd\r\n");
    ASSERT_EQ(inbox.count(), 3);
    EXPECT_EQ(inbox.message(0).status, MessageStatus::Read);
    EXPECT_EQ(inbox.message(0).number, "+79161234567");
    EXPECT_EQ(inbox.message(0).index, 5);
    EXPECT_EQ(inbox.message(0).time, (MessageTime{2024, 2, 1, 10, 11, 12}));
    EXPECT_EQ(inbox.message(1).text, ""); // an empty text keeps its place
    EXPECT_EQ(inbox.message(1).status, MessageStatus::Unread);
    EXPECT_EQ(inbox.message(1).number, "900");
    EXPECT_EQ(inbox.message(1).time, std::nullopt); // "d" is no time
    // No status: the number between the last two quotes.
    EXPECT_EQ(inbox.message(2).status, MessageStatus::None);
    EXPECT_EQ(inbox.message(2).number, "8800");

    const auto outbox = ArchiveFolder::fromContent(
        FolderKind::Outbox, "a\r\n 12\r\n+MMGL: 12, \"STO SENT\", \"+7000\"\r\n"
                            "b\r\n 3\r\n+MMGL: 3, \"REC READ\", \"55\"\r\n");
    EXPECT_EQ(outbox.message(0).status, MessageStatus::Sent);
    EXPECT_EQ(outbox.message(0).number, "+7000");
    EXPECT_EQ(outbox.message(0).index, 12);
    EXPECT_EQ(outbox.message(1).status, MessageStatus::Sent); // the header is not consulted
    const auto draft = ArchiveFolder::fromContent(FolderKind::Draft,
                                                  "a\r\n 4\r\n+MMGL: 4, \"STO UNSENT\", \"1\"\r\n");
    EXPECT_EQ(draft.message(0).status, MessageStatus::Unsent);
    EXPECT_EQ(draft.message(0).number, "1");
}

TEST(ArchiveLoad, CorrespondentIsPositionalAndEmptyPastTheHeader) {
    const auto numberOf = [](const std::string& header, const std::string& index) {
        return std::string(record::read(FolderKind::Inbox, "", index, header, "").number);
    };
    EXPECT_EQ(numberOf("+MMGL: 5, \"REC READ\", \"\"", "5"), "");
    EXPECT_EQ(numberOf("\"REC READ\"", "5"), "");
    // A header laid out differently yields whatever lies at those positions.
    EXPECT_EQ(numberOf("+MMGL: 5,\"REC READ\",\"+7123\"", "5"), "123");
    EXPECT_EQ(numberOf("no quotes", ""), "");
    EXPECT_EQ(record::read(FolderKind::Inbox, "", "", "REC READ without quotes", "").status,
              MessageStatus::Read);
    EXPECT_EQ(record::read(FolderKind::Inbox, "", "", "\"REC UNRE\"", "").status,
              MessageStatus::None);
}

// What a date line says, and that every line, odd ones too, is written back
// exactly as it stood.
TEST(ArchiveLoad, DateLinesGiveTheirTimeAndStayAsTheyAre) {
    struct Case {
        std::string line;
        std::optional<MessageTime> time;
    };
    const Case cases[] = {
        {"01/02/2024,10:11:12", MessageTime{2024, 2, 1, 10, 11, 12}},
        {"18/08/2009,19:11:45+12", MessageTime{2009, 8, 18, 19, 11, 45}}, // a zone stays on
        // A phone's two-digit year as older versions normalised it, year first:
        // "05/01/02,12:34:56+12" and "98/1/2,…" stamps.
        {"02/01/05/0,12:34:56+12", MessageTime{2005, 1, 2, 12, 34, 56}},
        {"02/01/98/1,12:34:56", MessageTime{1998, 1, 2, 12, 34, 56}},
        {"02/10/05/1,12:34:56", MessageTime{2005, 10, 2, 12, 34, 56}},
        {"31/02/2008,11:00:00", std::nullopt},
        {"29/02/2100,00:00:00", std::nullopt},
        {"29/02/2000,00:00:00", MessageTime{2000, 2, 29, 0, 0, 0}},
        {"01/01/0000,00:00:00", std::nullopt},
        {"01/01/2010,24:00:00", std::nullopt},
        {"1/1/2010,00:00:00", std::nullopt},
        {"0/0/,0:00:00", std::nullopt},
        {"garbage", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const MessageView message = record::read(FolderKind::Inbox, "t", "1", "h", c.line);
        EXPECT_EQ(message.time, c.time);
        std::string line;
        record::appendDateLine(line, message);
        EXPECT_EQ(line, c.line);
    }
}

// Index lines give the storage index by the blank-led rule and stay as they are.
TEST(ArchiveLoad, IndexLinesGiveTheirIndexAndStayAsTheyAre) {
    struct Case {
        FolderKind kind;
        std::string line;
        std::optional<int> index;
    };
    const Case cases[] = {
        {FolderKind::Inbox, "5", 5},
        {FolderKind::Inbox, "007", 7},
        {FolderKind::Inbox, " 6", 6},
        {FolderKind::Inbox, "-3", -3},
        {FolderKind::Inbox, "+5", 5},
        {FolderKind::Inbox, "", std::nullopt},
        {FolderKind::Inbox, "abc", std::nullopt},
        {FolderKind::Inbox, "1000", 1000},
        {FolderKind::Outbox, " 7", 7},
        {FolderKind::Outbox, "7", 7},
        {FolderKind::Outbox, " 007", 7},
        {FolderKind::Outbox, "", std::nullopt},
        {FolderKind::Outbox, " ", std::nullopt},
        {FolderKind::Draft, "  12", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const MessageView message = record::read(c.kind, "t", c.line, "h", "");
        EXPECT_EQ(message.index, c.index);
        EXPECT_EQ(record::indexLine(message), c.line);
    }
}

// A message made here, not read from a file, is written in the phone's layout.
TEST(ArchiveLoad, AMessageWithoutStoredLinesIsWrittenAsThePhoneListsIt) {
    Message message;
    message.folder = FolderKind::Outbox;
    message.index = 12;
    message.status = MessageStatus::Sent;
    message.number = "+7001";
    message.text = "hi";
    std::string lines;
    record::appendRecord(lines, view(message));
    EXPECT_EQ(lines, "hi\r\n 12\r\n+MMGL: 12, \"STO SENT\", \"+7001\"\r\n");
    const ArchiveFolder outbox = ArchiveFolder::fromContent(FolderKind::Outbox, lines);
    const MessageView read = outbox.message(0);
    EXPECT_EQ(read.number, "+7001");
    EXPECT_EQ(read.index, 12);
    message.folder = FolderKind::Inbox;
    message.status = MessageStatus::Unread;
    message.index.reset();
    message.time = MessageTime{2005, 1, 2, 9, 5, 3};
    lines.clear();
    record::appendRecord(lines, view(message));
    EXPECT_EQ(lines, "hi\r\n\r\n+MMGL: , \"REC UNREAD\", \"+7001\"\r\n02/01/2005,09:05:03\r\n");
    EXPECT_EQ(ArchiveFolder::fromContent(FolderKind::Inbox, lines).message(0).number, "+7001");
}

TEST(ArchiveLoad, ReadersSeeAtMost4096CharactersAndKeepZeroBytes) {
    const std::string longLine(5000, 'x');
    const std::string binary("a\0b", 3);
    const auto folder =
        ArchiveFolder::fromContent(FolderKind::Inbox, longLine + "\r\n" + binary + "\r\n\r\n\r\n");
    ASSERT_EQ(folder.count(), 1);
    EXPECT_EQ(folder.message(0).text, std::string(4096, 'x'));
    EXPECT_EQ(record::indexLine(folder.message(0)), binary);
}

TEST(ArchiveLoad, ReloadsFoldersFromFilesFoundInAnyLetterCase) {
    QTemporaryDir dir;
    put(dir.filePath("inbox.MSG"), "t\r\n1\r\nh\r\nd\r\n");
    put(dir.filePath("OUTBOX.MSG"), "a\r\n 1\r\nh\r\nb\r\n 2\r\nh\r\n");
    Archive archive;
    archive.draft = ArchiveFolder::fromContent(FolderKind::Draft, "a\r\n 1\r\nh\r\n");
    ASSERT_EQ(archive.draft.count(), 1); // replaced: a missing file is an empty folder
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
    archive.draft =
        ArchiveFolder::fromContent(FolderKind::Draft, "a\r\n 1\r\nh\r\nb\r\n 2\r\nh\r\n");
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
    EXPECT_EQ(ArchiveFolder::fromContent(FolderKind::Draft, content).count(), 100001);
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
    read.inbox = {inboxEntry("hi", 1, "REC READ", "+7", "01/01/2005,10:00:00")};
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
