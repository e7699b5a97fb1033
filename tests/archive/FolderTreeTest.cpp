#include "archive/FolderTree.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <random>

using namespace qb;
using namespace qb::test;

TEST(FolderTree, NodesMapToFolders) {
    for (int position = 0; position < TreeNodeCount; ++position) {
        const auto node = static_cast<TreeNode>(position);
        EXPECT_EQ(isPhoneFolder(node), position >= 1 && position <= 3) << position;
        EXPECT_EQ(isArchiveFolder(node), position >= 5 && position <= 7) << position;
    }
    EXPECT_EQ(folderKindOfNode(TreeNode::PhoneInbox), FolderKind::Inbox);
    EXPECT_EQ(folderKindOfNode(TreeNode::ArchiveOutbox), FolderKind::Outbox);
    EXPECT_EQ(folderKindOfNode(TreeNode::PhoneDraft), FolderKind::Draft);
    EXPECT_EQ(folderKindOfNode(TreeNode::ArchiveDraft), FolderKind::Draft);
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        EXPECT_EQ(folderKindOfNode(phoneFolderNode(kind)), kind);
        EXPECT_EQ(folderKindOfNode(archiveFolderNode(kind)), kind);
        EXPECT_TRUE(isArchiveFolder(archiveFolderNode(kind)));
    }
}

TEST(lookupName, MatchesNumbersWithAndWithoutTheirPrefixes) {
    const NameIndex names(
        Phonebook{{{"+70001112233", "A"}, {"0001112233", "B"}, {"80005556677", "C"}}});
    EXPECT_EQ(names.lookupName("0001112233", FolderKind::Outbox), "B");
    EXPECT_EQ(names.lookupName("+70001112233", FolderKind::Draft), "B"); // later entry wins
    EXPECT_EQ(names.lookupName("0005556677", FolderKind::Inbox), "C");
    EXPECT_EQ(names.lookupName("0005556677", FolderKind::Outbox), std::nullopt);
    EXPECT_EQ(names.lookupName("123", FolderKind::Inbox), std::nullopt);
    EXPECT_EQ(NameIndex(Phonebook{}).lookupName("", FolderKind::Inbox), std::nullopt);

    const NameIndex twice(Phonebook{{{"+7001", "Old"}, {"+7001", "New"}}});
    EXPECT_EQ(twice.lookupName("+7001", FolderKind::Inbox), "New");
}

TEST(lookupName, DisplaysTheNumberAloneWithoutAName) {
    const NameIndex names(Phonebook{{{"+7001", cp("Мама")}, {"+7002", cp("Без имени")}}});
    EXPECT_EQ(displayCorrespondent(names, "+7001", FolderKind::Inbox), cp("Мама (+7001)"));
    EXPECT_EQ(displayCorrespondent(names, "+7002", FolderKind::Inbox), "+7002");
    EXPECT_EQ(displayCorrespondent(names, "+7003", FolderKind::Inbox), "+7003");
}

namespace {

std::string_view after(std::string_view text, std::size_t count) {
    return text.size() > count ? text.substr(count) : std::string_view();
}

// Every entry in order, the last match winning.
std::optional<std::string> lookupByScan(const Phonebook& phonebook, std::string_view c,
                                        FolderKind kind) {
    std::optional<std::string> name;
    for (const auto& [n, m] : phonebook.entries) {
        const std::string_view number = n;
        if (c == number || c == after(number, 2) || after(c, 2) == number ||
            (kind == FolderKind::Inbox && c == after(number, 1)))
            name = m;
    }
    return name;
}

std::string randomNumber(std::mt19937& rng) {
    static const std::string alphabet = "+78";
    std::string number;
    const int length = static_cast<int>(rng() % 6);
    for (int i = 0; i < length; ++i)
        number += alphabet[rng() % alphabet.size()];
    return number;
}

} // namespace

TEST(lookupName, IndexAgreesWithAScanOverEveryEntry) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 20; ++round) {
        Phonebook phonebook;
        const int entries = static_cast<int>(rng() % 60);
        for (int i = 0; i < entries; ++i)
            phonebook.entries.push_back({randomNumber(rng), "name" + std::to_string(i)});
        const NameIndex names(phonebook);
        for (int i = 0; i < 300; ++i) {
            const std::string c = randomNumber(rng);
            for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
                ASSERT_EQ(names.lookupName(c, kind), lookupByScan(phonebook, c, kind))
                    << "round " << round << " number '" << c << "'";
        }
    }
}
