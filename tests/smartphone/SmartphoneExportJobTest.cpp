// The export for a modern phone as a job: the same files and counts as the
// direct call, and nothing written when cancelled before it starts.
#include "export/smartphone/SmartphoneExportJob.h"

#include "core/FileStore.h"
#include "tests/support/JobRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <regex>

using namespace qb;
using namespace qb::test;

namespace {

struct Work {
    QTemporaryDir dir;
    Work() {
        writeWholeFile(
            dir.filePath("Inbox.msg"),
            "Hi\r\n5\r\n+MMGL: 5, \"REC READ\", \"+79161112233\"\r\n24/04/2008,11:00:00\r\n");
        writeWholeFile(dir.filePath("Outbox.msg"),
                       "Bye\r\n 7\r\n+MMGL: 7, \"STO SENT\", \"+7000\"\r\n");
        writeWholeFile(dir.filePath("Phonebook.pbk"), "3\r\n+79161112233\r\nAnna\r\n\r\n");
        QDir(dir.path()).mkdir("out");
    }
    QString out(const QString& name = {}) const { return dir.filePath("out/" + name); }
};

// Every backup names itself anew (a fresh set id and the time it was made).
std::string withoutBackupIdentity(std::string xml) {
    static const std::regex identity(R"( backup_set="[^"]*" backup_date="[0-9]*")");
    return std::regex_replace(xml, identity, "");
}

} // namespace

TEST(SmartphoneExportJob, WritesWhatTheDirectExportWrites) {
    Work direct, job;
    const SmartphoneExport expected = exportForSmartphone(direct.dir.path(), direct.out());
    ASSERT_FALSE(expected.failure);

    SmartphoneExportJob exportJob(job.dir.path(), job.out());
    EXPECT_EQ(runJob(exportJob).finished, 1);
    EXPECT_FALSE(exportJob.cancelled());
    EXPECT_FALSE(exportJob.result().failure);
    EXPECT_EQ(exportJob.result().messages, 2);
    EXPECT_EQ(exportJob.result().contacts, expected.contacts);
    for (const QString& name : {SmsBackupFileName, ContactsFileName})
        EXPECT_EQ(withoutBackupIdentity(readWholeFile(job.out(name)).bytes),
                  withoutBackupIdentity(readWholeFile(direct.out(name)).bytes));

    SmartphoneExportJob missing(job.dir.path(), job.dir.filePath("gone"));
    runJob(missing);
    ASSERT_TRUE(missing.result().failure);
    EXPECT_EQ(missing.result().failure->text().left(20), "Cannot create file \"");
}

TEST(SmartphoneExportJob, CancelledBeforeItRunsWritesNothing) {
    Work work;
    SmartphoneExportJob job(work.dir.path(), work.out());
    job.cancel();
    EXPECT_EQ(runJob(job).finished, 1);
    EXPECT_TRUE(job.cancelled());
    EXPECT_TRUE(QDir(work.out()).isEmpty());
}
