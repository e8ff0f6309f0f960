#include <gtest/gtest.h>
TEST(E2eSmoke, Runs) { EXPECT_EQ(1, 1); }
