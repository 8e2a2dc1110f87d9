#include <gtest/gtest.h>

#include "ui/views/TimeWindow.h"

TEST(TimeWindowPlaceholder, ComparesFields)
{
    quorvel::TimeWindow a, b;
    b.visibleEnd = 1;
    EXPECT_FALSE(a == b);
}
