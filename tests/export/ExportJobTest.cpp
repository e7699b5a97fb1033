// The export job against runExport on the same rows, and a cancelled export.
#include "export/ExportJob.h"
#include "export/ExportTemplate.h"

#include "core/FileStore.h"
#include "tests/support/JobRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

std::vector<ExportRow> rows(int count) {
    std::vector<ExportRow> result;
    for (int k = 0; k < count; ++k) {
        const std::string n = std::to_string(k);
        result.push_back({{"+700" + n, "d" + n, "1", n, "<text> " + n}, k});
    }
    return result;
}

std::string bytes(const QString& path) {
    return readWholeFile(path).bytes;
}

} // namespace

TEST(ExportJob, WritesWhatTheRunWritesAndReportsOnThisThread) {
    QTemporaryDir direct, job;
    NullProgress progress;
    const ExportOutcome expected =
        runExport(defaultTemplate(), rows(45),
                  {direct.filePath("sms.htm"), ExportFormat::Html, 20, 45}, progress);
    ASSERT_FALSE(expected.failure);

    ExportJob exportJob(defaultTemplate(), rows(45),
                        {job.filePath("sms.htm"), ExportFormat::Html, 20, 45});
    const JobRun run = runJob(exportJob);
    EXPECT_EQ(run.finished, 1);
    EXPECT_FALSE(exportJob.failure());
    EXPECT_FALSE(exportJob.cancelled());
    ASSERT_EQ(exportJob.written().size(), 3);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(QFileInfo(exportJob.written()[n]).fileName(),
                  QFileInfo(expected.written[n]).fileName());
        EXPECT_EQ(bytes(exportJob.written()[n]), bytes(expected.written[n]));
    }
    ASSERT_FALSE(run.progress.empty());
    EXPECT_TRUE(run.progressOnThisThread);
    EXPECT_EQ(run.progress.back().maximum, 44);
    EXPECT_EQ(run.progress.back().position, 0);

    QDir(job.path()).mkdir("taken.htm");
    ExportJob failing(defaultTemplate(), rows(2),
                      {job.filePath("taken.htm"), ExportFormat::Text, 0, 2});
    EXPECT_EQ(runJob(failing).finished, 1);
    ASSERT_TRUE(failing.failure());
    EXPECT_TRUE(failing.failure()->text().startsWith("Cannot create file \""));
}

TEST(ExportJob, CancelledExportLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath("sms.htm");
    ASSERT_FALSE(writeWholeFile(target, "old"));
    ExportJob job(defaultTemplate(), rows(1000), {target, ExportFormat::Html, 0, 1000});
    // Stopped between rows: as soon as the bar learns the row count.
    QObject::connect(
        &job.progress(), &ProgressSignal::changed, &job.progress(),
        [&job](const ProgressState& state) {
            if (state.maximum == 999)
                job.cancel();
        },
        Qt::DirectConnection);
    EXPECT_EQ(runJob(job).finished, 1);
    EXPECT_TRUE(job.cancelled());
    EXPECT_FALSE(job.failure());
    EXPECT_TRUE(job.written().isEmpty());
    EXPECT_EQ(bytes(target), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"sms.htm"});
}
