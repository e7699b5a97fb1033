// The cells of the message list's rows.
#include "models/MessageRows.h"

#include "core/Cp1251.h"

#include <gtest/gtest.h>

using namespace qb;
using qb::MessageRow;
using qb::MessageRowBuilder;

namespace {

std::string cp(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

ArchiveRecord record(const char* text, std::string index, std::string correspondent,
                     std::string date = {}) {
    ArchiveRecord r;
    r.text = cp(text);
    r.index = std::move(index);
    r.correspondent = std::move(correspondent);
    r.date = std::move(date);
    return r;
}

Phonebook phonebook(std::vector<std::pair<const char*, const char*>> pairs) {
    Phonebook book;
    book.countText = std::to_string(2 * pairs.size() + 1);
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
    const MessageRow row =
        rows.fromArchive(record("Привет", "5", "+79161112233", "01/02/2005,10:11:12"), 3);
    EXPECT_EQ(row.text, u("Привет"));
    EXPECT_EQ(row.from, u("Иван (+79161112233)"));
    EXPECT_EQ(row.date, u("01/02/2005,10:11:12"));
    EXPECT_EQ(row.size, 6); // one byte per character, Cyrillic included
    EXPECT_EQ(row.index, u("5"));
    EXPECT_EQ(row.icon, Icon::InboxRow);
    EXPECT_EQ(row.record, 3);
    EXPECT_EQ(rows.fromArchive(record("", "6", "1"), 4).size, 0);
}

TEST(MessageRows, SentAndUnsentShowHyphensAndKeepTheIndexBlank) {
    for (const auto& [kind, icon] :
         {std::pair{FolderKind::Outbox, Icon::OutboxRow}, {FolderKind::Draft, Icon::DraftRow}}) {
        MessageRowBuilder rows(kind, {});
        const MessageRow row = rows.fromArchive(record("ok", " 5", "123", "ignored"), 1);
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
    EXPECT_EQ(inbox.fromArchive(record("", "1", "0001112233"), 1).from, u("Иван (0001112233)"));
    EXPECT_EQ(inbox.fromArchive(record("", "1", "555"), 1).from, u("555"));
    EXPECT_EQ(inbox.fromArchive(record("", "1", "0009998877"), 1).from, u("Пётр (0009998877)"));
    EXPECT_EQ(inbox.fromArchive(record("", "1", "777"), 1).from, u("B (777)"));
    EXPECT_EQ(inbox.fromArchive(record("", "1", "999"), 1).from, u("999"));
    // Dropping the first digit is a rule of received messages only.
    MessageRowBuilder outbox(FolderKind::Outbox, book);
    EXPECT_EQ(outbox.fromArchive(record("", " 1", "0009998877"), 1).from, u("0009998877"));
}

TEST(MessageRows, PhoneEntryTakesItsCorrespondentFromTheHeaderAndStatus) {
    MessageRowBuilder inbox(FolderKind::Inbox, phonebook({{"+79160000001", "Оля"}}));
    ReadEntry entry{"+MMGL: 12, \"REC UNREAD\", \"+79160000001\"", cp("Текст"), "12", "REC UNREAD",
                    "03/04/2006,07:08:09"};
    const MessageRow row = inbox.fromPhone(entry, 2);
    EXPECT_EQ(row.from, u("Оля (+79160000001)"));
    EXPECT_EQ(row.date, u("03/04/2006,07:08:09"));
    EXPECT_EQ(row.record, 2);

    MessageRowBuilder draft(FolderKind::Draft, {});
    ReadEntry unsent{"+MMGL: 7, \"STO UNSENT\", \"2020\"", "x", " 7", "STO UNSENT", {}};
    EXPECT_EQ(draft.fromPhone(unsent, 1).from, u("2020"));
    EXPECT_EQ(draft.fromPhone(unsent, 1).index, u(" 7"));
}

TEST(MessageRows, PhonebookWithoutANumberForItsCountCannotName) {
    Phonebook book = phonebook({{"1", "x"}});
    book.countText = "abc";
    EXPECT_EQ(MessageRowBuilder(FolderKind::Inbox, book).failure()->text(),
              u("'abc' is not a valid integer value"));
    book.countText = "";
    EXPECT_FALSE(MessageRowBuilder(FolderKind::Inbox, book).failure());
}
