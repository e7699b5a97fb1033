// The two files side by side: both replaced, or neither.
#include "export/smartphone/SmartphoneExport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SmartphoneExport, BothFilesOrNeither) {
    QTemporaryDir work, target;
    put(work.filePath("Inbox.msg"), "hi\r\n5\r\n+MMGL: 5, \"REC READ\", \"+7001\"\r\n"
                                    "01/06/2009,10:00:00\r\n");
    put(work.filePath("Phonebook.pbk"), "3\r\n+7001\r\nIvan\r\n\r\n");
    put(target.filePath("sms-backup.xml"), "old");
    // contacts.vcf cannot be replaced: a directory with something in it.
    ASSERT_TRUE(QDir(target.path()).mkpath("contacts.vcf/keep"));

    const SmartphoneExport failed = exportForSmartphone(work.path(), target.path());
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->subject, target.filePath("contacts.vcf"));
    EXPECT_EQ(contents(target.filePath("sms-backup.xml")), "old");
    const QStringList left =
        QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_EQ(left, QStringList({"contacts.vcf", "sms-backup.xml"}));

    ASSERT_TRUE(QDir(target.filePath("contacts.vcf")).removeRecursively());
    const SmartphoneExport done = exportForSmartphone(work.path(), target.path());
    ASSERT_FALSE(done.failure) << done.failure->text().toStdString();
    EXPECT_TRUE(contents(target.filePath("sms-backup.xml")).contains("body=\"hi\""));
    EXPECT_TRUE(contents(target.filePath("contacts.vcf")).contains("FN:Ivan"));
    EXPECT_EQ(QDir(target.path())
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                  .size(),
              2);
}

TEST(SmartphoneExport, SummaryKeepsItsFirstSentenceAndAddsOnlyWhatHappened) {
    SmartphoneExport result;
    result.messages = 5;
    result.contacts = 2;
    EXPECT_EQ(smartphoneExportSummary(result),
              QString::fromUtf8("Экспорт для смартфона: сообщений 5, контактов 2."));
    result.estimated = 3;
    result.withoutAddress = 1;
    result.draftsSharingConversation = 2;
    const QString text = smartphoneExportSummary(result);
    EXPECT_TRUE(
        text.startsWith(QString::fromUtf8("Экспорт для смартфона: сообщений 5, контактов 2. ")));
    for (const char* count : {": 3.", ": 1.", ": 2;"})
        EXPECT_TRUE(text.contains(QLatin1String(count))) << text.toStdString();
}
