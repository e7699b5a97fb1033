#include "core/LineList.h"

#include <gtest/gtest.h>

using qb::LineList;

TEST(LineListAdd, CutsOnlyAtCrLfAndDropsTheEmptyLineAfterAFinalBreak) {
    LineList list;
    list.add("at+mmgl=\"ALL\"\r\n+MMGL: 1\r\n\r\nOK\r\n");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.lineView(0), "at+mmgl=\"ALL\"");
    EXPECT_EQ(list.lineView(2), "");
    EXPECT_EQ(list.lineView(3), "OK");
}

TEST(LineListAdd, LoneCrOrLfStaysInsideItsLine) {
    LineList list;
    list.add("a\rb\nc\r\nd");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.lineView(0), "a\rb\nc");
    EXPECT_EQ(list.lineView(1), "d");
}

TEST(LineListAdd, CrInFrontOfCrLfBelongsToTheBreak) {
    LineList list;
    list.add("echo\r\r\nreply");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.lineView(0), "echo");
}

TEST(LineListAdd, TextEndsAtItsFirstZeroByte) {
    LineList list;
    list.add(std::string("one\r\ntw\0o\r\nthree", 16));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.lineView(1), "tw");
}

TEST(LineListAdd, EmptyTextIsOneEmptyLineAndAppendsAfterEarlierText) {
    LineList list;
    list.add("");
    list.add("x");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.lineView(0), "");
    EXPECT_EQ(list.lineView(1), "x");
}

TEST(LineListRead, PastTheEndIsEmptyAndLinesAreCappedAt4096) {
    LineList list;
    list.add(std::string(5000, 'z'));
    EXPECT_EQ(list.lineView(0).size(), 4096u);
    EXPECT_EQ(list.lineView(1), "");
    EXPECT_EQ(list.lineView(-1), "");
}

TEST(FileLines, SplitAtEveryKindOfBreak) {
    const std::vector<std::string> lines = qb::splitFileLines("a\r\nb\rc\nd\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "d");
    EXPECT_TRUE(qb::splitFileLines("").empty());
    EXPECT_EQ(qb::splitFileLines("\r\n").size(), 1u);
}

TEST(FileLines, JoinWritesCrLfAfterEveryLineAndRoundTrips) {
    const std::vector<std::string> lines = qb::splitFileLines("x\r\n\r\ny");
    EXPECT_EQ(qb::joinFileLines(lines), "x\r\n\r\ny\r\n");
    EXPECT_EQ(qb::splitFileLines(qb::joinFileLines(lines)), lines);
}
