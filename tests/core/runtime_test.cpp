#include <gtest/gtest.h>
#include "zq/kernel.h"
TEST(Runtime, Smoke) { EXPECT_EQ(ZqCountBits(0xF0F0), 8); }
