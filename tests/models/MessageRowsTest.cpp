// The cells of the message list's rows.
#include "models/MessageRows.h"

#include "archive/RecordFields.h"
#include "archive/RecordLines.h"
#include "core/ArchiveText.h"
#include "core/Cp1251.h"

#include <gtest/gtest.h>

using namespace qb;
using qb::MessageRow;
using qb::MessageRowBuilder;

namespace {

std::string cp(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

// A message as a folder file holding these lines gives it.
Message stored(FolderKind kind, const char* text, std::string index, std::string number,
               std::string date = {}) {
    const std::string header = "+MMGL: " + index + ", \"" +
                               std::string(record::statusWord(MessageStatus::Read)) + "\", \"" +
                               number + "\"";
    Message message = toMessage(record::read(kind, cp(text), index, header, date));
    message.number = std::move(number);
    return message;
}

Phonebook phonebook(std::vector<std::pair<const char*, const char*>> pairs) {
    Phonebook book;
    for (const auto& [number, name] : pairs)
        book.entries.push_back({number, cp(name)});
    return book;
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(MessageRows, InboxRecordFillsEveryColumn) {
    MessageRowBuilder rows(FolderKind::Inbox, phonebook({{"+79161112233", "Иван"}}));
    const MessageRow row = rows.fromArchive(
        view(stored(FolderKind::Inbox, "Привет", "5", "+79161112233", "01/02/2005,10:11:12")), 3);
    EXPECT_EQ(row.text, u("Привет"));
    EXPECT_EQ(row.from, u("Иван (+79161112233)"));
    EXPECT_EQ(row.date, u("01/02/2005,10:11:12"));
    EXPECT_EQ(row.size, 6); // one byte per character, Cyrillic included
    EXPECT_EQ(row.index, u("5"));
    EXPECT_EQ(row.icon, Icon::InboxRow);
    EXPECT_EQ(row.record, 3);
    EXPECT_EQ(rows.fromArchive(view(stored(FolderKind::Inbox, "", "6", "1")), 4).size, 0);
    // A date line that is no time is shown as the file holds it.
    EXPECT_EQ(
        rows.fromArchive(view(stored(FolderKind::Inbox, "", "6", "1", "02/01/05/0,12:34:56+12")), 4)
            .date,
        u("02/01/05/0,12:34:56+12"));
}

TEST(MessageRows, SentAndUnsentShowHyphensAndKeepTheIndexBlank) {
    for (const auto& [kind, icon] :
         {std::pair{FolderKind::Outbox, Icon::OutboxRow}, {FolderKind::Draft, Icon::DraftRow}}) {
        MessageRowBuilder rows(kind, {});
        const MessageRow row = rows.fromArchive(view(stored(kind, "ok", " 5", "123")), 1);
        EXPECT_EQ(row.date, u("----------------"));
        EXPECT_EQ(row.index, u(" 5"));
        EXPECT_EQ(row.icon, icon);
        EXPECT_EQ(row.from, u("123")); // no phonebook: the number alone
    }
}

TEST(MessageRows, NamesFollowThePhonebookAndItsNoNameText) {
    const Phonebook book = phonebook({{"+70001112233", "Иван"},
                                      {"555", "Без имени"},
                                      {"80009998877", "Пётр"},
                                      {"777", "A"},
                                      {"777", "B"}});
    MessageRowBuilder inbox(FolderKind::Inbox, book);
    const auto from = [](MessageRowBuilder& rows, FolderKind kind, const char* number) {
        return rows.fromArchive(view(stored(kind, "", "1", number)), 1).from;
    };
    EXPECT_EQ(from(inbox, FolderKind::Inbox, "0001112233"), u("Иван (0001112233)"));
    EXPECT_EQ(from(inbox, FolderKind::Inbox, "555"), u("555"));
    EXPECT_EQ(from(inbox, FolderKind::Inbox, "0009998877"), u("Пётр (0009998877)"));
    EXPECT_EQ(from(inbox, FolderKind::Inbox, "777"), u("B (777)"));
    EXPECT_EQ(from(inbox, FolderKind::Inbox, "999"), u("999"));
    // Dropping the first digit is a rule of received messages only.
    MessageRowBuilder outbox(FolderKind::Outbox, book);
    EXPECT_EQ(from(outbox, FolderKind::Outbox, "0009998877"), u("0009998877"));
}

TEST(MessageRows, PhoneMessageShowsItsNumberTimeAndListedIndex) {
    MessageRowBuilder inbox(FolderKind::Inbox, phonebook({{"+79160000001", "Оля"}}));
    Message received =
        record::listed(FolderKind::Inbox, MessageStatus::Unread,
                       "+MMGL: 12, \"REC UNREAD\", \"+79160000001\"", " 12", cp("Текст"));
    received.time = MessageTime{2006, 4, 3, 7, 8, 9};
    const MessageRow row = inbox.fromPhone(received, 2);
    EXPECT_EQ(row.from, u("Оля (+79160000001)"));
    EXPECT_EQ(row.date, u("03/04/2006,07:08:09"));
    EXPECT_EQ(row.index, u("12"));
    EXPECT_EQ(row.record, 2);

    MessageRowBuilder draft(FolderKind::Draft, {});
    const Message unsent = record::listed(FolderKind::Draft, MessageStatus::Unsent,
                                          "+MMGL: 7, \"STO UNSENT\", \"2020\"", " 7", "x");
    EXPECT_EQ(draft.fromPhone(unsent, 1).from, u("2020"));
    EXPECT_EQ(draft.fromPhone(unsent, 1).index, u(" 7"));
}

TEST(MessageRows, PhonebookWithoutANumberForItsCountCannotName) {
    Phonebook book = phonebook({{"1", "x"}});
    book.countLine = "abc";
    EXPECT_EQ(MessageRowBuilder(FolderKind::Inbox, book).failure()->text(),
              u("'abc' is not a valid integer value"));
    book.countLine.reset();
    EXPECT_FALSE(MessageRowBuilder(FolderKind::Inbox, book).failure());
}

TEST(MessageRows, AStandardPhonesMessageShowsEveryCharacterItsPlacesAndItsSender) {
    Phonebook names;
    names.entries.push_back({"+79160000001", archivetext::encode(u("Оля 🙂"))});
    MessageRowBuilder inbox(FolderKind::Inbox, names);
    const Message kept = record::phoneMessage(
        FolderKind::Inbox, MessageStatus::Read, archivetext::encode(u("+79160000001")),
        {{"SM", 5}, {"SM", 3}}, archivetext::encode(u("你好 ΔΣ 😀")),
        MessageTime{2009, 5, 4, 20, 0, 0});
    const MessageRow row = inbox.fromPhone(kept, 1);
    EXPECT_EQ(row.text, u("你好 ΔΣ 😀"));
    EXPECT_EQ(row.from, u("Оля 🙂 (+79160000001)"));
    EXPECT_EQ(row.index, u("SM5,SM3"));
    EXPECT_EQ(row.date, u("04/05/2009,20:00:00"));
}

// Rows gathered from several folders: one builder, each row by its own
// folder's rules, and a name found by one folder's rule is not taken for
// another's.
TEST(MessageRows, OneBuilderBuildsEachFolderByItsOwnRules) {
    MessageRowBuilder rows(FolderKind::Inbox, phonebook({{"80009998877", "Пётр"}}));
    const Message received = stored(FolderKind::Inbox, "", "1", "0009998877");
    const Message sent = stored(FolderKind::Outbox, "", " 2", "0009998877");
    const MessageRow first = rows.fromFolder(view(received), FolderKind::Inbox, 1);
    const MessageRow second = rows.fromFolder(view(sent), FolderKind::Outbox, 2);
    EXPECT_EQ(first.from, u("Пётр (0009998877)"));
    EXPECT_EQ(second.from, u("0009998877"));
    EXPECT_EQ(first.icon, Icon::InboxRow);
    EXPECT_EQ(second.icon, Icon::OutboxRow);
    EXPECT_EQ(second.date, NoDate);
    EXPECT_EQ(second.record, 2);
}
