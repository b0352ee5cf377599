#include <gtest/gtest.h>

#include "render/cell.hpp"

// A field counts console columns, never UTF-8 bytes: a Han character, a
// full-width sign and an em dash each take two. A longer item stands whole.
TEST(Cell, PadsByConsoleColumns) {
  EXPECT_EQ(display_columns("2019年1月份为："), 15);
  EXPECT_EQ(display_columns(" —————————————————————"), 43);
  EXPECT_EQ(cell("日"), "    日");
  EXPECT_EQ(cell(""), "      ");
  EXPECT_EQ(cell(-44), "   -44");
  EXPECT_EQ(cell(-123456), "-123456");
}
