#include "core/LineList.h"

#include <gtest/gtest.h>

using qb::LineList;

TEST(LineListAdd, CutsOnlyAtCrLfAndDropsTheEmptyLineAfterAFinalBreak) {
    LineList list;
    list.add("at+mmgl=\"ALL\"\r\n+MMGL: 1\r\n\r\nOK\r\n");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.line(0), "at+mmgl=\"ALL\"");
    EXPECT_EQ(list.line(2), "");
    EXPECT_EQ(list.line(3), "OK");
}

TEST(LineListAdd, LoneCrOrLfStaysInsideItsLine) {
    LineList list;
    list.add("a\rb\nc\r\nd");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(0), "a\rb\nc");
    EXPECT_EQ(list.line(1), "d");
}

TEST(LineListAdd, CrInFrontOfCrLfBelongsToTheBreak) {
    LineList list;
    list.add("echo\r\r\nreply");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(0), "echo");
}

TEST(LineListAdd, TextEndsAtItsFirstZeroByte) {
    LineList list;
    list.add(std::string("one\r\ntw\0o\r\nthree", 16));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(1), "tw");
}

TEST(LineListAdd, EmptyTextIsOneEmptyLineAndAppendsAfterEarlierText) {
    LineList list;
    list.add("");
    list.add("x");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(0), "");
    EXPECT_EQ(list.line(1), "x");
}

TEST(LineListRead, PastTheEndIsEmptyAndLinesAreCappedAt4096) {
    LineList list;
    list.add(std::string(5000, 'z'));
    EXPECT_EQ(list.line(0).size(), 4096u);
    EXPECT_EQ(list.line(1), "");
    EXPECT_EQ(list.line(-1), "");
}

TEST(LineListLoad, SplitsAtEveryKindOfBreak) {
    LineList list;
    list.load("a\r\nb\rc\nd\r\n");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.line(3), "d");
    list.load("");
    EXPECT_EQ(list.count(), 0);
    list.load("\r\n");
    EXPECT_EQ(list.count(), 1);
}

TEST(LineListSave, WritesCrLfAfterEveryLineAndRoundTrips) {
    LineList list;
    list.load("x\r\n\r\ny");
    EXPECT_EQ(list.save(), "x\r\n\r\ny\r\n");
    LineList again;
    again.load(list.save());
    EXPECT_EQ(again.lines(), list.lines());
}
