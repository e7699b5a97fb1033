#include "reading/ProgressStep.h"

#include <gtest/gtest.h>

using namespace qb;

TEST(ProgressStep, NeverGoesBeyondAHundred)
{
    NullProgress bar;
    bar.setPosition(95);
    progressStep(bar, 20);
    EXPECT_EQ(bar.position(), 100);
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(150); // the Draft pass may leave it there
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(3);
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 4);
}
