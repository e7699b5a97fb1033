#include "TestFiles.h"
#include "archive/ArchiveFiles.h"
#include "archive/RecordLines.h"
#include "codecs/LegacyUcs2Decoder.h"
#include "core/ArchiveText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

const std::string Date = "01/02/2024,10:11:12";

ReadResult sampleRead() {
    ReadResult read;
    read.inbox = {inboxEntry("Hello", 1, "REC READ", "+7001", Date),
                  inboxEntry("", 2, "REC UNREAD", "+7002", Date)};
    read.outbox = {sentEntry("Sent", 12, "STO SENT", "+7003")};
    return read;
}

} // namespace

TEST(Merge, CreatesAllThreeFilesWithExactBytesInAnEmptyDirectory) {
    QTemporaryDir dir;
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")),
              "Hello\r\n1\r\n+MMGL: 1, \"REC READ\", \"+7001\"\r\n" + Date +
                  "\r\n"
                  "\r\n2\r\n+MMGL: 2, \"REC UNREAD\", \"+7002\"\r\n" +
                  Date + "\r\n");
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")),
              "Sent\r\n 12\r\n+MMGL: 12, \"STO SENT\", \"+7003\"\r\n");
    EXPECT_EQ(slurp(dir.filePath("Draft.msg")), ""); // created, empty

    // Read back: exactly the records written.
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    ASSERT_EQ(archive.inbox.count(), 2);
    EXPECT_EQ(archive.inbox.message(1).text, "");
    EXPECT_EQ(archive.inbox.message(1).status, MessageStatus::Unread);
    EXPECT_EQ(archive.inbox.message(1).number, "+7002");
    EXPECT_EQ(archive.inbox.message(1).time, (MessageTime{2024, 2, 1, 10, 11, 12}));
    EXPECT_EQ(archive.outbox.message(0).number, "+7003");
}

TEST(Merge, SecondMergeOfTheSameReadAddsNothing) {
    QTemporaryDir dir;
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    const std::string inbox = slurp(dir.filePath("Inbox.msg"));
    const std::string outbox = slurp(dir.filePath("Outbox.msg"));
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), inbox);
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), outbox);
}

TEST(Merge, ChangedStateOrIndexIsArchivedAgainAndEqualRecordsOfOneReadBothGoIn) {
    QTemporaryDir dir;
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    ReadResult later = sampleRead();
    later.inbox[1] = inboxEntry("", 2, "REC READ", "+7002", Date); // now read
    later.outbox[0] = sentEntry("Sent", 13, "STO SENT", "+7003");  // moved
    later.draft = {sentEntry("D", 1, "STO UNSENT", "1"), sentEntry("D", 1, "STO UNSENT", "1")};
    ASSERT_FALSE(mergeReadResult(dir.path(), later));

    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    ASSERT_EQ(archive.inbox.count(), 3);
    EXPECT_EQ(archive.inbox.message(2).status, MessageStatus::Read);
    ASSERT_EQ(archive.outbox.count(), 2);
    EXPECT_EQ(archive.outbox.message(1).index, 13);
    EXPECT_EQ(archive.draft.count(), 2);

    // Drafts already archived stay; a new one is appended after them.
    later.draft = {sentEntry("D", 1, "STO UNSENT", "1"), sentEntry("E", 2, "STO UNSENT", "1")};
    ASSERT_FALSE(mergeReadResult(dir.path(), later));
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    ASSERT_EQ(archive.draft.count(), 3);
    EXPECT_EQ(archive.draft.message(2).text, "E");
    EXPECT_EQ(archive.inbox.count(), 3);
}

TEST(Merge, ComparesJoinedLinesAgainstBlocksIncludingAPartialLastOne) {
    QTemporaryDir dir;
    // Lines split differently but joining to the same text count as equal; the
    // partial block "x" + "y" stands for a record whose third line is empty.
    put(dir.filePath("Outbox.msg"), "ab\r\nc\r\nd\r\nx\r\ny");
    ReadResult read;
    const FolderKind outbox = FolderKind::Outbox;
    read.outbox = {fromLines(outbox, "a", "bc", "d"), fromLines(outbox, "", "x", "y"),
                   fromLines(outbox, "new", "1", "h")};
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    // The file gains its missing final line break, then only the new record.
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), "ab\r\nc\r\nd\r\nx\r\ny\r\nnew\r\n1\r\nh\r\n");
}

TEST(Merge, ReplacesAFileNamedInCapitalsInPlace) {
    QTemporaryDir dir;
    put(dir.filePath("OUTBOX.MSG"), "old\r\n 1\r\nh\r\n");
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    EXPECT_EQ(filesIn(dir.path()), QStringList({"Draft.msg", "Inbox.msg", "OUTBOX.MSG"}));
    EXPECT_EQ(slurp(dir.filePath("OUTBOX.MSG")),
              "old\r\n 1\r\nh\r\nSent\r\n 12\r\n+MMGL: 12, \"STO SENT\", \"+7003\"\r\n");
}

TEST(Merge, KeepsStoredLinesLongerThan4096WholeButComparesWhatReadersSee) {
    QTemporaryDir dir;
    const std::string longText(5000, 'z');
    put(dir.filePath("Draft.msg"), longText + "\r\n 1\r\nh\r\n");
    ReadResult read;
    read.draft = {fromLines(FolderKind::Draft, std::string(4096, 'z'), " 1", "h")};
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    EXPECT_EQ(slurp(dir.filePath("Draft.msg")), longText + "\r\n 1\r\nh\r\n"); // a duplicate
}

TEST(Merge, KeepsZeroBytesOfABinaryFile) {
    QTemporaryDir dir;
    const std::string binary("\0\x01\xff\r\n\0\0\r\n", 9);
    put(dir.filePath("Inbox.msg"), binary);
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead()));
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")).substr(0, binary.size()), binary);
}

TEST(Merge, AReadWithoutMessagesStillWritesEveryFile) {
    QTemporaryDir dir;
    ASSERT_FALSE(mergeReadResult(dir.path(), ReadResult{}));
    for (const char* name : {"Inbox.msg", "Outbox.msg", "Draft.msg"})
        EXPECT_EQ(slurp(dir.filePath(name)), "") << name;
}

TEST(Merge, StopsAtTheFirstFileItCannotWriteOrRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Outbox.msg")); // a directory where the file goes
    auto failure = mergeReadResult(dir.path(), sampleRead());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::CannotOpen);
    EXPECT_EQ(failure->subject, dir.filePath("Outbox.msg"));
    EXPECT_NE(slurp(dir.filePath("Inbox.msg")), "<missing>"); // merged before the stop
    EXPECT_FALSE(QFile::exists(dir.filePath("Draft.msg")));   // untouched after it

    const QString vanished = dir.filePath("no/such/dir");
    failure = mergeReadResult(vanished, sampleRead());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::CannotCreate);
    EXPECT_EQ(failure->subject, vanished + "/Inbox.msg");
}

// A record written by the earlier decoding matches only the read message whose
// digits decode to it that way, with every other line equal; a message
// without such a former text is compared by its text alone.
TEST(Merge, RecognisesTextsTheEarlierDecodingWroteAndNothingElse) {
    QTemporaryDir dir;
    const std::string digits = "0041000D000A00230042004a"; // "A", CR LF, "#", "B", lower-case "J"
    put(dir.filePath("Draft.msg"), "AB\r\n 1\r\n+MMGL: 1, \"STO UNSENT\", \"1\"\r\n");
    ReadResult read;
    Message same = sentEntry("A #BJ", 1, "STO UNSENT", "1");
    same.stored.formerText = decodeUcs2HexLegacy(digits);
    Message moved = sentEntry("A #BJ", 2, "STO UNSENT", "1");
    moved.stored.formerText = decodeUcs2HexLegacy(digits);
    const Message noDigits = sentEntry("A #BJ", 1, "STO UNSENT", "1");
    read.draft = {same, moved, noDigits};
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    EXPECT_EQ(slurp(dir.filePath("Draft.msg")),
              "AB\r\n 1\r\n+MMGL: 1, \"STO UNSENT\", \"1\"\r\n"
              "A #BJ\r\n 2\r\n+MMGL: 2, \"STO UNSENT\", \"1\"\r\n"
              "A #BJ\r\n 1\r\n+MMGL: 1, \"STO UNSENT\", \"1\"\r\n");
}

// Archives made while the decoding dropped what the code page lacks hold a
// Motorola phone's message without those characters; the same message read
// now, with them kept, is recognised there.
TEST(Merge, RecognisesTextsThatLostTheCharactersTheCodePageLacks) {
    QTemporaryDir dir;
    put(dir.filePath("Outbox.msg"), "Hi  A\r\n 1\r\n+MMGL: 1, \"STO SENT\", \"1\"\r\n");
    ReadResult read;
    const std::string kept = archivetext::encode(QString::fromUtf8("Hi 😀 ΔA"));
    read.outbox = {sentEntry(kept, 1, "STO SENT", "1"), sentEntry(kept, 2, "STO SENT", "1")};
    AppendedCounts appended{};
    ASSERT_FALSE(mergeReadResult(dir.path(), read, &appended));
    EXPECT_EQ(appended, (AppendedCounts{0, 1, 0})); // index 2 is another message
    // A standard phone's message was never archived so: it goes in.
    ReadResult standardRead;
    put(dir.filePath("Outbox.msg"), "Hi  A\r\n SM1\r\n+CMGL: SM1, \"STO SENT\", \"1\"\r\n");
    standardRead.outbox = {record::phoneMessage(FolderKind::Outbox, MessageStatus::Sent, "1",
                                                {{"SM", 1}}, kept, std::nullopt)};
    ASSERT_FALSE(mergeReadResult(dir.path(), standardRead, &appended));
    EXPECT_EQ(appended, (AppendedCounts{0, 1, 0}));
}

// What a read brought that the archive lacked, per folder, as the user is
// told it; a folder that could not be written counts nothing.
TEST(Merge, CountsTheRecordsItAppendsToEachFolder) {
    QTemporaryDir dir;
    AppendedCounts appended{-1, -1, -1};
    ASSERT_FALSE(mergeReadResult(dir.path(), sampleRead(), &appended));
    EXPECT_EQ(appended, (AppendedCounts{2, 1, 0}));
    ReadResult later = sampleRead();
    later.draft = {sentEntry("D", 3, "STO UNSENT", "1")};
    ASSERT_FALSE(storePhoneRead(dir.path(), later, std::nullopt, {}, nullptr, &appended));
    EXPECT_EQ(appended, (AppendedCounts{0, 0, 1}));

    ASSERT_TRUE(QFile::remove(dir.filePath("Outbox.msg")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Outbox.msg"));
    later.inbox = {inboxEntry("New", 7, "REC READ", "+7001", Date)};
    ASSERT_TRUE(mergeReadResult(dir.path(), later, &appended));
    EXPECT_EQ(appended, (AppendedCounts{1, 0, 0}));
}

// --- Messages of phones read by the standard commands

namespace {

Message standard(FolderKind kind, MessageStatus status, std::vector<StorageLocation> places,
                 std::string text = "Text") {
    return record::phoneMessage(kind, status, "+7001", places, std::move(text),
                                MessageTime{2009, 5, 4, 20, 0, 0});
}

} // namespace

TEST(Merge, AStandardPhonesRecordCarriesItsPlacesStatusAndNumber) {
    QTemporaryDir dir;
    ReadResult read;
    read.inbox = {standard(FolderKind::Inbox, MessageStatus::Unread, {{"SM", 5}, {"SM", 3}}),
                  // The same index in the other storage is another message.
                  standard(FolderKind::Inbox, MessageStatus::Read, {{"ME", 5}})};
    read.outbox = {standard(FolderKind::Outbox, MessageStatus::Sent, {{"ME", 12}})};
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    EXPECT_EQ(
        slurp(dir.filePath("Inbox.msg")),
        "Text\r\nSM5,SM3\r\n+CMGL: SM5,SM3, \"REC UNREAD\", \"+7001\"\r\n04/05/2009,20:00:00\r\n"
        "Text\r\nME5\r\n+CMGL: ME5, \"REC READ\", \"+7001\"\r\n04/05/2009,20:00:00\r\n");
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")),
              "Text\r\n ME12\r\n+CMGL: ME12, \"STO SENT\", \"+7001\"\r\n");

    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    ASSERT_EQ(archive.inbox.count(), 2);
    EXPECT_EQ(archive.inbox.message(0).status, MessageStatus::Unread);
    EXPECT_EQ(archive.inbox.message(0).number, "+7001");
    EXPECT_EQ(archive.inbox.message(0).time, (MessageTime{2009, 5, 4, 20, 0, 0}));
    EXPECT_EQ(record::phoneLocations(record::indexLine(archive.inbox.message(0))),
              (std::vector<StorageLocation>{{"SM", 5}, {"SM", 3}}));
    EXPECT_EQ(archive.outbox.message(0).number, "+7001");
    EXPECT_EQ(record::phoneLocations(record::indexLine(archive.outbox.message(0))),
              (std::vector<StorageLocation>{{"ME", 12}}));
}

TEST(Merge, AStandardMessageListedUnreadThenReadIsArchivedOnce) {
    QTemporaryDir dir;
    ReadResult first;
    first.inbox = {standard(FolderKind::Inbox, MessageStatus::Unread, {{"SM", 1}})};
    ASSERT_FALSE(mergeReadResult(dir.path(), first));
    ReadResult second;
    second.inbox = {standard(FolderKind::Inbox, MessageStatus::Read, {{"SM", 1}}),
                    standard(FolderKind::Inbox, MessageStatus::Read, {{"SM", 1}}, "Other")};
    AppendedCounts appended{};
    ASSERT_FALSE(mergeReadResult(dir.path(), second, &appended));
    EXPECT_EQ(appended, (AppendedCounts{1, 0, 0})); // only the other text
    // Read first, then unread is no listing's doing: a new record, as for Motorola phones.
    ReadResult third;
    third.inbox = {standard(FolderKind::Inbox, MessageStatus::Unread, {{"SM", 2}})};
    ReadResult readBefore;
    readBefore.inbox = {standard(FolderKind::Inbox, MessageStatus::Read, {{"SM", 2}})};
    ASSERT_FALSE(mergeReadResult(dir.path(), readBefore));
    ASSERT_FALSE(mergeReadResult(dir.path(), third, &appended));
    EXPECT_EQ(appended, (AppendedCounts{1, 0, 0}));
}

TEST(Merge, OnlyTheStandardFormOfAnIndexLineNamesPlaces) {
    using Places = std::vector<StorageLocation>;
    const std::pair<std::string_view, Places> cases[] = {
        {"SM5", {{"SM", 5}}},
        {" ME12,SM3,MT0", {{"ME", 12}, {"SM", 3}, {"MT", 0}}},
        {"5", {}},
        {" 5", {}},
        {"", {}},
        {"1000", {}},
        {"sm5", {}},
        {"SM", {}},
        {"SM5,", {}},
        {"SM5,,SM6", {}},
        {"SM5 ", {}},
        {"SM1234567890", {}},
        {"ABCDE1", {}},
    };
    for (const auto& [line, places] : cases)
        EXPECT_EQ(record::phoneLocations(line), places) << line;
}

// A reader sees 4096 characters of a line, an escape being one: a long
// message of characters the code page lacks is read whole and recognised.
TEST(Merge, ALongTextOfEscapedCharactersIsReadWholeAndArchivedOnce) {
    QTemporaryDir dir;
    const std::string kept = archivetext::encode(QString(1000, QChar(0x4F60)) + QString(3096, 'a'));
    ASSERT_GT(kept.size(), 4096u);
    ReadResult read;
    read.inbox = {standard(FolderKind::Inbox, MessageStatus::Read, {{"ME", 1}}, kept)};
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    AppendedCounts appended{};
    ASSERT_FALSE(mergeReadResult(dir.path(), read, &appended));
    EXPECT_EQ(appended, (AppendedCounts{0, 0, 0}));
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(archive.inbox.message(0).text, kept);
    // One character more, and the reader sees the first 4096.
    read.inbox[0].text = kept + archivetext::encode(QStringLiteral("\u4F60"));
    ASSERT_FALSE(mergeReadResult(dir.path(), read));
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(archive.inbox.message(1).text, kept);
}
