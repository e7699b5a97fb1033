#include "core/Substring.h"

#include <gtest/gtest.h>

using qb::substring;

TEST(Substring, CountsFromOneAndCutsAtTheEnd) {
    EXPECT_EQ(substring("abcdef", 2, 3), "bcd");
    EXPECT_EQ(substring("abcdef", 5, 10), "ef");
    EXPECT_EQ(substring("abcdef", 6, 1), "f");
}

TEST(Substring, StartBelowOneCountsAsOneWithoutReducingTheCount) {
    EXPECT_EQ(substring("abcdef", 0, 2), "ab");
    EXPECT_EQ(substring("abcdef", -5, 3), "abc");
}

TEST(Substring, StartPastTheEndOrNonPositiveCountGivesEmpty) {
    EXPECT_EQ(substring("abc", 4, 1), "");
    EXPECT_EQ(substring("abc", 1, 0), "");
    EXPECT_EQ(substring("abc", 1, -3), "");
    EXPECT_EQ(substring("", 1, 1), "");
}
