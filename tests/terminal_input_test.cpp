#include <gtest/gtest.h>

#include <string>

#include "console/posix/gbk_encoding.hpp"
#include "console/posix/terminal_reports.hpp"

// Only hexadecimal channels of one to four digits make a colour, scaled in
// the rgb: form and taken as the high bits in the # form; anything else a
// report carries is dropped, and what is written back is tavoro's own
// #rrggbb.
TEST(TerminalReports, ColoursReadStrictlyAndWrittenBackInOneForm) {
  const auto text_of = [](const std::string& report) { return take_reports(report, 1).text; };
  EXPECT_EQ(text_of("\x1b]10;rgb:f/80/0fff\a"), (Colour{0xff, 0x80, 0x10}));
  EXPECT_EQ(text_of("\x1b]10;rgb:ffff/0000/8080\x1b\\"), (Colour{0xff, 0x00, 0x80}));
  for (const std::string same : {"#a1b", "#A010B0", "#a0010fb00", "#A0FF10FFB000"}) {
    EXPECT_EQ(text_of("\x1b]10;" + same + "\a"), (Colour{0xa0, 0x10, 0xb0})) << same;
  }
  for (const char* junk :
       {"\x1b]10;rgb:ff/ff\a", "\x1b]10;rgb:ff/ff/ff/ff\a", "\x1b]10;rgb:fffff/0/0\a",
        "\x1b]10;rgb:gg/0/0\a", "\x1b]10;#fffff\a", "\x1b]10;#\a", "\x1b]10;#fffffffffffffff\a",
        "\x1b]10;#ff00fg\a", "\x1b]10;rgb:ff/ff/ff;\x1b]0;title\a", "\x1b]110;rgb:ff/ff/ff\a"}) {
    EXPECT_EQ(text_of(junk), std::nullopt) << junk;
  }
  EXPECT_EQ(colour_request(11, Colour{0x1c, 0x0a, 0xff}), "\x1b]11;#1c0aff\a");
}

// A character without a GBK form is let through, and the text after it is
// still converted.
TEST(GbkEncoding, ConvertsAroundWhatHasNoGbkForm) {
  EXPECT_EQ(encode_gbk("2024年—"), "2024\xc4\xea\xa1\xaa");
  EXPECT_EQ(encode_gbk("\xf0\x9f\x98\x80年"), "\xf0\x9f\x98\x80\xc4\xea");
}
