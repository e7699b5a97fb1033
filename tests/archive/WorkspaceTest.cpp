// The program state without a window: what the folder captions count after a
// reload and after a read.
#include "archive/Workspace.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

TEST(Workspace, CaptionsFollowTheFilesAndTheLastRead) {
    QTemporaryDir dir;
    Workspace workspace;
    workspace.workDir = dir.path();
    put(QDir(dir.path()).filePath("Outbox.msg"), "a\r\n 1\r\n+7\r\nb\r\n 2\r\n+7\r\n");
    ASSERT_FALSE(workspace.reloadArchive());
    EXPECT_EQ(workspace.archiveCount(FolderKind::Outbox), 2);
    EXPECT_EQ(workspace.archiveCount(FolderKind::Inbox), 0);

    // Before any read, and after a read that found one message.
    EXPECT_EQ(workspace.phoneCount(FolderKind::Inbox), 0);
    workspace.readResult.inbox.emplace_back();
    EXPECT_EQ(workspace.phoneCount(FolderKind::Inbox), 1);

    put(QDir(dir.path()).filePath("Phonebook.pbk"), "3\r\n+7\r\nA\r\n");
    ASSERT_FALSE(workspace.loadPhonebook());
    ASSERT_EQ(workspace.phonebook.entries.size(), 1u);
    EXPECT_EQ(workspace.phonebook.entries[0].name, "A");
}
