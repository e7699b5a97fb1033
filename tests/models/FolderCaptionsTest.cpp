#include "models/FolderCaptions.h"

#include <gtest/gtest.h>

using namespace qb;

// Without a translation installed the captions are the program's own Russian.
TEST(FolderCaptions, ShowTheCountOrATrailingBlank) {
    EXPECT_EQ(folderCaption(FolderKind::Inbox, 3), QStringLiteral("Входящие (3)"));
    EXPECT_EQ(folderCaption(FolderKind::Outbox, 0), QStringLiteral("Исходящие "));
    EXPECT_EQ(folderCaption(FolderKind::Draft, 100000), QStringLiteral("Черновые (100000)"));
    EXPECT_EQ(nodeName(TreeNode::Archive), QStringLiteral("Архив"));
    EXPECT_EQ(nodeName(TreeNode::PhoneDraft), QStringLiteral("Черновые"));
}
