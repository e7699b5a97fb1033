// The Android backup read back with a real XML parser, message by message.
#include "export/smartphone/AndroidSmsXml.h"
#include "core/Cp1251.h"

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

ArchiveRecord record(std::string text, std::string number, std::string date = {}) {
    ArchiveRecord r;
    r.text = std::move(text);
    r.correspondent = std::move(number);
    r.date = std::move(date);
    return r;
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
    archive.inbox.records = {
        record(cp("Привет & <b>\"да\"</b>\nпока"), "+79161112233", "24/04/2008,11:00:00")};
    archive.outbox.records = {record("it's sent", "+7000")};
    archive.draft.records = {record("later", "112")};
    Phonebook phonebook;
    phonebook.entries = {{"+79161112233", cp("Иван")}};

    const AndroidSmsXml out = androidSmsXml(archive, phonebook);
    EXPECT_TRUE(out.xml.starts_with("<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>"));
    int count = -1;
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 3u);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(out.undated, 2);

    EXPECT_EQ(sms[0].at("body"), QString::fromUtf8("Привет & <b>\"да\"</b>\nпока"));
    EXPECT_EQ(sms[0].at("address"), "+79161112233");
    EXPECT_EQ(sms[0].at("contact_name"), QString::fromUtf8("Иван"));
    EXPECT_EQ(sms[0].at("type"), "1");
    // 11:00 in Moscow (UTC+4 in April 2008) is 07:00 UTC.
    EXPECT_EQ(sms[0].at("date"), "1209020400000");
    EXPECT_EQ(sms[0].at("date_sent"), "1209020400000");
    EXPECT_EQ(sms[0].at("readable_date"), "24 Apr 2008 11:00:00");
    // The fields the app publishes for a message, on every message.
    for (const Sms& one : sms)
        for (const char* field : {"protocol", "address", "date", "type", "subject", "body", "toa",
                                  "sc_toa", "service_center", "read", "status", "readable_date",
                                  "contact_name"})
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
    archive.inbox.records = {record(std::string("a\x01"
                                                "b\x1f",
                                                4),
                                    "1", "31/02/2008,11:00:00"),
                             record("c", "2", "garbage"), record("d", "3", "")};
    const AndroidSmsXml out = androidSmsXml(archive, {});
    const std::vector<Sms> sms = parse(out.xml, count);
    ASSERT_EQ(sms.size(), 3u);
    EXPECT_EQ(sms[0].at("body"), "ab");
    EXPECT_EQ(out.droppedCharacters, 2);
    EXPECT_EQ(out.undated, 3);
    for (const Sms& one : sms)
        EXPECT_EQ(one.at("date"), "0");
}

TEST(AndroidSmsXml, StampsReadAsLocalTime) {
    FixedZone moscow;
    EXPECT_EQ(archiveStampToEpochMs("01/01/2010,00:00:00"), 1262293200000); // UTC+3
    EXPECT_EQ(archiveStampToEpochMs("01/01/2010,00:00:00+12"), 1262293200000);
    EXPECT_FALSE(archiveStampToEpochMs("1/1/2010,00:00:00"));
    EXPECT_FALSE(archiveStampToEpochMs("01/13/2010,00:00:00"));
    EXPECT_FALSE(archiveStampToEpochMs("01/01/2010,24:00:00"));
}

TEST(AndroidSmsXml, HundredThousandMessages) {
    Archive archive;
    archive.inbox.records.assign(100000, record("x", "+7", "01/01/2010,00:00:00"));
    int count = -1;
    EXPECT_EQ(parse(androidSmsXml(archive, {}).xml, count).size(), 100000u);
    EXPECT_EQ(count, 100000);
}
