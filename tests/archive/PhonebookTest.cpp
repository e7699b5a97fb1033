#include "TestFiles.h"
#include "archive/ArchiveFiles.h"
#include "archive/FolderTree.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

TEST(PhonebookFile, TakesEntriesWhileTheirFirstLineIsBelowTheCount) {
    const auto three = parsePhonebook("7\r\n+7001\r\nA\r\n+7002\r\nB\r\n+7003\r\nC\r\n\r\n");
    EXPECT_FALSE(three.countLine); // 2n + 1, as the writer puts it
    ASSERT_EQ(three.entries.size(), 3u);
    EXPECT_EQ(three.entries[2].number, "+7003");
    EXPECT_EQ(three.entries[2].name, "C");

    EXPECT_TRUE(parsePhonebook("1\r\n+7001\r\nA\r\n").entries.empty());
    EXPECT_EQ(parsePhonebook("2\r\n+7001\r\nA\r\n+7002\r\nB\r\n").entries.size(), 1u);
    EXPECT_TRUE(parsePhonebook("-5\r\n+7001\r\nA\r\n").entries.empty());
    // A count beyond the file ends at the file's last line: the last entry's
    // name lies past it and reads as empty.
    const auto cut = parsePhonebook("2147483647\r\n1\r\nA\r\n2");
    ASSERT_EQ(cut.entries.size(), 2u);
    EXPECT_EQ(cut.entries[1].number, "2");
    EXPECT_EQ(cut.entries[1].name, "");
}

TEST(PhonebookFile, CapsTheEntriesAtThePhonebookCapacity) {
    std::string content = "2147483647\r\n";
    for (int i = 0; i < MaxPhonebookEntries + 10; ++i)
        content += "1\r\nN\r\n";
    EXPECT_EQ(parsePhonebook(content).entries.size(),
              static_cast<std::size_t>(MaxPhonebookEntries));
}

TEST(PhonebookFile, KeepsACountThatIsNoNumberForTheListToReport) {
    for (const char* count : {"seven", "99999999999999", " 7"}) {
        const auto phonebook = parsePhonebook(std::string(count) + "\r\n1\r\nA\r\n");
        EXPECT_EQ(phonebook.countLine, count);
        EXPECT_TRUE(phonebook.entries.empty());
        const NameIndex names(phonebook);
        ASSERT_TRUE(names.failure());
        EXPECT_EQ(names.failure()->text(), QString("'%1' is not a valid integer value").arg(count));
        const auto text = phonebookFileContent(phonebook);
        ASSERT_TRUE(text.failure);
        EXPECT_EQ(text.failure->kind, Failure::Kind::NotInteger);
        EXPECT_EQ(damagedPhonebookCount(phonebook)->text(), text.failure->text());
    }
    // An empty first line holds no count and no entries.
    const auto empty = parsePhonebook("\r\n1\r\nA\r\n");
    EXPECT_FALSE(empty.countLine);
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_FALSE(NameIndex(empty).failure());
    EXPECT_FALSE(damagedPhonebookCount(empty));
    EXPECT_FALSE(parsePhonebook("").countLine);
}

TEST(PhonebookFile, WritesTheCountHeldOrTwiceTheEntriesPlusOne) {
    Phonebook phonebook;
    EXPECT_EQ(phonebookFileContent(phonebook).content, "1\r\n\r\n");
    phonebook.entries = {{"+7001", cp("Мама")}, {"2", ""}};
    EXPECT_EQ(phonebookFileContent(phonebook).content,
              "5\r\n+7001\r\n" + cp("Мама") + "\r\n2\r\n\r\n\r\n");
    phonebook.countLine = "9"; // a count line kept is written as it is
    EXPECT_EQ(phonebookFileContent(phonebook).content.substr(0, 3), "9\r\n");
}

// What a file holds is written back byte for byte, count line included, also
// where a hand edit left a count the writer would not put.
TEST(PhonebookFile, WritesBackWhatItReadByteForByte) {
    for (const std::string content :
         {"1\r\n\r\n", "3\r\n+7001\r\nA\r\n\r\n", "+5\r\n1\r\nA\r\n2\r\nB\r\n\r\n", "0\r\n\r\n",
          "-5\r\n\r\n"}) {
        SCOPED_TRACE(content);
        const PhonebookText text = phonebookFileContent(parsePhonebook(content));
        ASSERT_FALSE(text.failure);
        EXPECT_EQ(text.content, content);
    }
}

TEST(PhonebookFile, RoundTripsThroughTheWorkingDirectory) {
    QTemporaryDir dir;
    Phonebook phonebook{{{"+7001", cp("Аня")}, {"+7002", "B"}, {"", cp("Без имени")}}, {}};
    put(dir.filePath("PHONEBOOK.PBK"), "old");
    ASSERT_FALSE(savePhonebook(dir.path(), phonebook));
    EXPECT_EQ(filesIn(dir.path()), QStringList({"PHONEBOOK.PBK"})); // replaced in place

    Phonebook loaded;
    ASSERT_FALSE(loadPhonebook(dir.path(), loaded));
    EXPECT_EQ(slurp(dir.filePath("PHONEBOOK.PBK")).substr(0, 3), "7\r\n");
    ASSERT_EQ(loaded.entries.size(), 3u);
    EXPECT_EQ(loaded.entries[0].name, cp("Аня"));
    EXPECT_EQ(loaded.entries[2].number, "");

    phonebook.countLine = "x";
    EXPECT_TRUE(savePhonebook(dir.path(), phonebook)); // nothing written
    EXPECT_EQ(slurp(dir.filePath("PHONEBOOK.PBK")).substr(0, 3), "7\r\n");
}

TEST(PhonebookFile, MissingFileLeavesThePhonebookAndAnUnreadableOneFails) {
    QTemporaryDir dir;
    Phonebook phonebook{{{"1", "A"}}, {}};
    ASSERT_FALSE(loadPhonebook(dir.path(), phonebook));
    EXPECT_EQ(phonebook.entries.size(), 1u);

    ASSERT_TRUE(QDir(dir.path()).mkdir("Phonebook.pbk"));
    const auto failure = loadPhonebook(dir.path(), phonebook);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::CannotOpen);
    EXPECT_EQ(phonebook.entries.size(), 1u);
    const auto written = savePhonebook(dir.filePath("missing"), phonebook);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->kind, Failure::Kind::CannotCreate);
}

// A copy of the whole phonebook (the smartphone export) needs a count that can
// describe the file: one that reads as no entries while entries follow would
// replace the user's contacts with nothing.
TEST(PhonebookFile, ACopyRefusesACountThatCannotDescribeTheFile) {
    const std::string entries = "+79160000001\r\n" + cp("Имя") + "\r\n";
    for (const char* count : {"-5", "0", "1", "-2147483648", "", "5 ", "seven"}) {
        SCOPED_TRACE(count);
        const MaybeFailure damaged = damagedPhonebookFile(count + std::string("\r\n") + entries);
        ASSERT_TRUE(damaged);
        EXPECT_EQ(damaged->text(), QString("'%1' is not a valid integer value").arg(count));
    }
    for (const std::string& content :
         {std::string(), std::string("\r\n"), std::string("1\r\n\r\n"), std::string("0\r\n"),
          "3\r\n" + entries + "\r\n", "2\r\n" + entries, "9\r\n" + entries}) {
        SCOPED_TRACE(content);
        EXPECT_FALSE(damagedPhonebookFile(content));
    }

    QTemporaryDir dir;
    put(dir.filePath("Phonebook.pbk"), "-5\r\n" + entries);
    const PhonebookCopy damaged = loadPhonebookCopy(dir.path());
    ASSERT_TRUE(damaged.failure);
    EXPECT_TRUE(damaged.damagedCount);
    EXPECT_EQ(damaged.failure->text(),
              dir.filePath("Phonebook.pbk") + ": '-5' is not a valid integer value");
    put(dir.filePath("Phonebook.pbk"), "3\r\n" + entries + "\r\n");
    const PhonebookCopy sound = loadPhonebookCopy(dir.path());
    EXPECT_FALSE(sound.failure);
    ASSERT_EQ(sound.phonebook.entries.size(), 1u);
    EXPECT_EQ(sound.phonebook.entries[0].name, cp("Имя"));
}
