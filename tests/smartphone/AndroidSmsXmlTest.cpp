// The Android backup read back with a real XML parser, message by message.
#include "export/smartphone/AndroidSmsXml.h"
#include "archive/RecordFields.h"
#include "archive/RecordLines.h"
#include "core/ArchiveText.h"
#include "core/Cp1251.h"
#include "export/smartphone/EstimatedDates.h"
#include "export/smartphone/XmlText.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <vector>

using namespace qb;

namespace {

std::string cp(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

// A message as the phone listed it; `date` is its date line as a folder file holds it.
Message message(FolderKind kind, std::string text, std::string number, std::string date = {},
                std::optional<int> index = {}, MessageStatus status = MessageStatus::Read) {
    Message m;
    m.folder = kind;
    m.status = kind == FolderKind::Inbox    ? status
               : kind == FolderKind::Outbox ? MessageStatus::Sent
                                            : MessageStatus::Unsent;
    m.index = index;
    m.number = std::move(number);
    m.text = std::move(text);
    if (!date.empty())
        m.stored.dateLine = std::move(date);
    return m;
}

// The folder a file holding these messages gives.
ArchiveFolder folderOf(FolderKind kind, const std::vector<Message>& messages) {
    std::string content;
    for (const Message& m : messages)
        record::appendRecord(content, view(m));
    return ArchiveFolder::fromContent(kind, content);
}

using Sms = std::map<QString, QString>;

std::vector<Sms> parse(const std::string& xml, int& count) {
    std::vector<Sms> messages;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("smses")) {
            count = reader.attributes().value("count").toInt();
            continue;
        }
        Sms sms;
        for (const QXmlStreamAttribute& a : reader.attributes())
            sms[a.name().toString()] = a.value().toString();
        messages.push_back(sms);
        reader.skipCurrentElement();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return messages;
}

struct FixedZone {
    FixedZone() { setenv("TZ", "Europe/Moscow", 1), tzset(); }
    ~FixedZone() { unsetenv("TZ"), tzset(); }
};

} // namespace

TEST(AndroidSmsXml, EveryFolderParsesBackWithItsFields) {
    FixedZone moscow;
    Archive archive;
    archive.inbox =
        folderOf(FolderKind::Inbox, {message(FolderKind::Inbox, cp("Привет & <b>\"да\"</b>\tпока"),
                                             "+79161112233", "24/04/2008,11:00:00")});
    archive.outbox =
        folderOf(FolderKind::Outbox, {message(FolderKind::Outbox, "it's sent", "+7000")});
    archive.draft = folderOf(FolderKind::Draft, {message(FolderKind::Draft, "later", "112")});
    Phonebook phonebook;
    phonebook.entries = {{"+79161112233", cp("Иван")}};

    const AndroidSmsXml out = androidSmsXml(archive, phonebook);
    EXPECT_TRUE(out.xml.starts_with("<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>"));
    int count = -1;
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 3u);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(out.undated, 2);

    EXPECT_EQ(sms[0].at("body"), QString::fromUtf8("Привет & <b>\"да\"</b>\tпока"));
    EXPECT_EQ(sms[0].at("address"), "+79161112233");
    EXPECT_EQ(sms[0].at("contact_name"), QString::fromUtf8("Иван"));
    EXPECT_EQ(sms[0].at("type"), "1");
    // 11:00 in Moscow (UTC+4 in April 2008) is 07:00 UTC.
    EXPECT_EQ(sms[0].at("date"), "1209020400000");
    EXPECT_EQ(sms[0].at("date_sent"), "1209020400000");
    EXPECT_EQ(sms[0].at("readable_date"), "24 Apr 2008 11:00:00");
    // The fields the app publishes for a message, on every message.
    for (const Sms& one : sms)
        for (const char* field :
             {"protocol", "address", "date", "type", "subject", "body", "toa", "sc_toa",
              "service_center", "read", "status", "readable_date", "contact_name"})
            EXPECT_TRUE(one.count(field)) << field;
    EXPECT_EQ(sms[0].at("read"), "1");
    EXPECT_EQ(sms[0].at("status"), "-1");

    EXPECT_EQ(sms[1].at("body"), "it's sent");
    EXPECT_EQ(sms[1].at("type"), "2");
    EXPECT_EQ(sms[1].at("date"), "0"); // sent messages carry no time in the archive
    EXPECT_EQ(sms[1].at("contact_name"), "(Unknown)");
    EXPECT_EQ(sms[2].at("type"), "3");
}

TEST(AndroidSmsXml, EmptyArchiveDamagedStampsAndForbiddenCharacters) {
    int count = -1;
    EXPECT_TRUE(parse(androidSmsXml({}, {}).xml, count).empty());
    EXPECT_EQ(count, 0);

    Archive archive;
    const FolderKind inbox = FolderKind::Inbox;
    archive.inbox =
        folderOf(inbox, {message(inbox,
                                 std::string("a\x01"
                                             "b\x1f",
                                             4),
                                 "1", "31/02/2008,11:00:00"),
                         message(inbox, "c", "2", "garbage"), message(inbox, "d", "3")});
    const AndroidSmsXml out = androidSmsXml(archive, {});
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 3u);
    EXPECT_EQ(sms[0].at("body"), "ab");
    EXPECT_EQ(out.droppedCharacters, 2);
    EXPECT_EQ(out.undated, 3);
    for (const Sms& one : sms)
        EXPECT_EQ(one.at("date"), "0");
}

// A phone's two-digit year, as older versions stored it, is the year it
// names: it used to come out as the year 1 BC with a date that read "000/".
TEST(AndroidSmsXml, ATwoDigitYearIsThatYear) {
    FixedZone moscow;
    Archive archive;
    archive.inbox = folderOf(FolderKind::Inbox,
                             {message(FolderKind::Inbox, "x", "+7", "02/01/05/0,12:34:56+12")});
    int count = 0;
    const std::vector<Sms> sms = parse(androidSmsXml(archive, {}).xml, count);
    ASSERT_EQ(sms.size(), 1u);
    EXPECT_EQ(sms[0].at("readable_date"), "2 Jan 2005 12:34:56");
    EXPECT_EQ(sms[0].at("date"), "1104658496000"); // 09:34:56 UTC
}

TEST(AndroidSmsXml, StampsReadAsLocalTime) {
    FixedZone moscow;
    const auto epochMs = [](std::string_view dateLine) -> std::optional<int64_t> {
        const MessageView m = record::read(FolderKind::Inbox, "", "1", "", dateLine);
        return m.time ? localEpochMs(*m.time) : std::nullopt;
    };
    EXPECT_EQ(epochMs("01/01/2010,00:00:00"), 1262293200000); // UTC+3
    EXPECT_EQ(epochMs("01/01/2010,00:00:00+12"), 1262293200000);
    EXPECT_FALSE(epochMs("1/1/2010,00:00:00"));
    EXPECT_FALSE(epochMs("01/13/2010,00:00:00"));
    EXPECT_FALSE(epochMs("01/01/2010,24:00:00"));
    EXPECT_FALSE(epochMs("29/02/2100,00:00:00"));
    EXPECT_TRUE(epochMs("29/02/2000,00:00:00"));
    EXPECT_FALSE(epochMs("01/01/0000,00:00:00"));
}

// Line breaks and tabs in a text stay what they are, as character references.
TEST(AndroidSmsXml, BreaksInATextBecomeReferences) {
    std::string out;
    EXPECT_EQ(Cp1251XmlAttribute().append(out, "a\nb\r\tc"), 0);
    EXPECT_EQ(out, "a&#10;b&#13;&#9;c");
}

TEST(AndroidSmsXml, HundredThousandMessages) {
    Archive archive;
    archive.inbox = folderOf(
        FolderKind::Inbox,
        std::vector<Message>(100000, message(FolderKind::Inbox, "x", "+7", "01/01/2010,00:00:00")));
    int count = -1;
    EXPECT_EQ(parse(androidSmsXml(archive, {}).xml, count).size(), 100000u);
    EXPECT_EQ(count, 100000);
}

namespace {

StoredMessage stored(int index, std::optional<int64_t> time = {}) {
    return {index, time, time.has_value()};
}

} // namespace

TEST(EstimatedDates, BetweenTheNeighboursInStorageOrder) {
    const int64_t m = 60000; // a minute
    const auto times = estimateTimes({stored(2, 10 * m),
                                      stored(5, 20 * m),
                                      stored(9, 90 * m),
                                      stored(4),
                                      stored(3), // two between 2 and 5
                                      stored(7), // between 5 and 9
                                      stored(12),
                                      stored(1),
                                      {std::nullopt, {}, false}});
    EXPECT_EQ(times[4], 10 * m + 1000); // index 3 before index 4
    EXPECT_EQ(times[3], 10 * m + 2000);
    EXPECT_EQ(times[5], 20 * m + 1000);
    EXPECT_EQ(times[6], 90 * m + 1000); // only an earlier neighbour
    EXPECT_EQ(times[7], 10 * m - 1000); // only a later one
    EXPECT_EQ(times[8], std::nullopt);  // no readable index
    // A gap too short for a second each: spread evenly inside it.
    const auto close = estimateTimes({stored(1, 0), stored(4, 3000), stored(2), stored(3)});
    EXPECT_EQ(close[2], 1000);
    EXPECT_EQ(close[3], 2000);
    // Nothing received with a time: nothing to estimate from.
    EXPECT_EQ(estimateTimes({stored(1), stored(2)})[0], std::nullopt);
    // Indexes given out again by the phone: a received message at the very
    // index of the undated one, and no other, is still its neighbour.
    EXPECT_EQ(estimateTimes({stored(5, 3000), stored(5)})[1], 4000);
}

TEST(AndroidSmsXml, RestoresAsThePhoneShowedIt) {
    FixedZone moscow;
    Archive archive;
    const FolderKind inbox = FolderKind::Inbox, outbox = FolderKind::Outbox;
    const FolderKind draft = FolderKind::Draft;
    archive.inbox = folderOf(
        inbox, {message(inbox, "t", "+7001", "01/06/2009,10:00:00", 2),
                message(inbox, "t", "+7001", "01/06/2009,12:00:00", 6, MessageStatus::Unread)});
    archive.outbox = folderOf(outbox, {message(outbox, "t", "+7001", {}, 4)});
    archive.draft =
        folderOf(draft, {message(draft, "t", "+7002", {}, 3), message(draft, "t", "+7002", {}, 5),
                         message(draft, "t", "", {}, 7), message(draft, "t", "+7003", {}, 8)});
    Phonebook phonebook;
    phonebook.entries = {{"+7001", ""}, {"+7002", cp("Без имени")}};
    AndroidSmsOptions options;
    options.backupSet = "0b7e3c2a-1111-4222-8333-944455556666";
    options.backupDate = 1700000000000;

    const AndroidSmsXml out = androidSmsXml(archive, phonebook, options);
    QXmlStreamReader reader(QByteArray::fromStdString(out.xml));
    ASSERT_TRUE(reader.readNextStartElement());
    EXPECT_EQ(reader.attributes().value("backup_set").toString().toStdString(), options.backupSet);
    EXPECT_EQ(reader.attributes().value("backup_date").toString(), "1700000000000");
    EXPECT_EQ(reader.attributes().value("type").toString(), "full");
    EXPECT_EQ(reader.attributes().value("count").toString(), "6");
    int count = 0;
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 6u); // the draft without an address is left out
    EXPECT_EQ(out.withoutAddress, 1);
    EXPECT_EQ(sms[0].at("read"), "1");
    EXPECT_EQ(sms[1].at("read"), "0");
    EXPECT_EQ(sms[2].at("readable_date"), "1 Jun 2009 10:00:02"); // index 4, after 2 and 3
    EXPECT_EQ(sms[3].at("readable_date"), "1 Jun 2009 10:00:01");
    EXPECT_EQ(sms[4].at("date"), "1243836003000");                // index 5: 06:00:03 UTC
    EXPECT_EQ(sms[5].at("readable_date"), "1 Jun 2009 12:00:01"); // index 8, after 6
    EXPECT_EQ(out.estimated, 4);
    EXPECT_EQ(out.draftsSharingConversation, 2); // indexes 3 and 5 to +7002
    for (const Sms& one : sms)
        EXPECT_EQ(one.at("contact_name"), "(Unknown)");

    options.undated = UndatedMessages::Skip;
    const AndroidSmsXml skipped = androidSmsXml(archive, phonebook, options);
    EXPECT_EQ(skipped.messages, 2);
    EXPECT_EQ(skipped.skippedUndated, 4);
    options.undated = UndatedMessages::Epoch;
    EXPECT_EQ(androidSmsXml(archive, phonebook, options).undated, 4);
    EXPECT_EQ(androidSmsXml(archive, {}).xml.find("backup_set=\"\""), std::string::npos);
}

TEST(AndroidSmsXml, AStandardPhonesMessagesAreDatedInTheirOwnStorageWithEveryCharacter) {
    FixedZone moscow;
    const MessageTime noon{2009, 6, 1, 12, 0, 0}, ten{2009, 6, 1, 10, 0, 0};
    const std::string kept = archivetext::encode(QString::fromUtf8("你好 😀 ΔΣ"));
    Archive archive;
    archive.inbox = ArchiveFolder::fromContent(FolderKind::Inbox, [&] {
        std::string content;
        record::appendRecord(content,
                             view(record::phoneMessage(FolderKind::Inbox, MessageStatus::Read,
                                                       "+7001", {{"SM", 1}}, kept, ten)));
        record::appendRecord(content,
                             view(record::phoneMessage(FolderKind::Inbox, MessageStatus::Read,
                                                       "+7001", {{"ME", 1}}, "t", noon)));
        return content;
    }());
    archive.outbox = ArchiveFolder::fromContent(FolderKind::Outbox, [&] {
        std::string content;
        // Index 2 of each storage: after its own storage's index 1.
        for (const char* storage : {"SM", "ME"})
            record::appendRecord(content, view(record::phoneMessage(
                                              FolderKind::Outbox, MessageStatus::Sent, "+7001",
                                              {{storage, 2}, {storage, 3}}, "t", std::nullopt)));
        return content;
    }());
    const AndroidSmsXml out = androidSmsXml(archive, {});
    int count = 0;
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 4u);
    EXPECT_EQ(sms[0].at("body"), QString::fromUtf8("你好 😀 ΔΣ"));
    EXPECT_EQ(out.droppedCharacters, 0);
    EXPECT_EQ(sms[2].at("readable_date"), "1 Jun 2009 10:00:01");
    EXPECT_EQ(sms[3].at("readable_date"), "1 Jun 2009 12:00:01");
    EXPECT_EQ(out.estimated, 2);
}

TEST(EstimatedDates, EachStorageOnItsOwn) {
    auto at = [](const char* storage, int index, std::optional<int64_t> time = {}) {
        return StoredMessage{index, time, bool(time), storage};
    };
    const auto times = estimateTimes(
        {at("SM", 1, 1000000), at("ME", 5, 9000000), at("SM", 6), at("ME", 2), at("BM", 3)});
    EXPECT_EQ(times[2], 1001000);      // after SM1, not ME5 below it
    EXPECT_EQ(times[3], 8999000);      // before ME5
    EXPECT_EQ(times[4], std::nullopt); // no received message in its storage
}

TEST(AndroidSmsXml, DraftsToFormsOfOneNumberShareAConversation) {
    Archive archive;
    const FolderKind draft = FolderKind::Draft;
    archive.draft = folderOf(draft, {message(draft, "a", "+7 916 123-45-67", {}, 1),
                                     message(draft, "b", "8 916 1234567", {}, 2),
                                     message(draft, "c", "+79160000000", {}, 3)});
    AndroidSmsOptions options;
    options.homeRegion = QStringLiteral("RU");
    EXPECT_EQ(androidSmsXml(archive, {}, options).draftsSharingConversation, 2);
    // Read by German rules, "8 916…" is no Russian number.
    options.homeRegion = QStringLiteral("DE");
    EXPECT_EQ(androidSmsXml(archive, {}, options).draftsSharingConversation, 0);
}
