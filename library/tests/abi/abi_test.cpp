#include "kelda.h"
#include <gtest/gtest.h>
TEST(Abi, Version) { EXPECT_EQ(BarcodeVersion(), 304); }
