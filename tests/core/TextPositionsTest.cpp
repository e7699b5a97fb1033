#include "core/TextPositions.h"

#include <gtest/gtest.h>

using qb::charactersFrom;

TEST(CharactersFrom, CountsFromOneAndCutsAtTheEnd) {
    EXPECT_EQ(charactersFrom("abcdef", 2, 3), "bcd");
    EXPECT_EQ(charactersFrom("abcdef", 5, 10), "ef");
    EXPECT_EQ(charactersFrom("abcdef", 6, 1), "f");
}

TEST(CharactersFrom, StartBelowOneCountsAsOneWithoutReducingTheCount) {
    EXPECT_EQ(charactersFrom("abcdef", 0, 2), "ab");
    EXPECT_EQ(charactersFrom("abcdef", -5, 3), "abc");
}

TEST(CharactersFrom, StartPastTheEndOrNonPositiveCountGivesEmpty) {
    EXPECT_EQ(charactersFrom("abc", 4, 1), "");
    EXPECT_EQ(charactersFrom("abc", 1, 0), "");
    EXPECT_EQ(charactersFrom("abc", 1, -3), "");
    EXPECT_EQ(charactersFrom("", 1, 1), "");
}
