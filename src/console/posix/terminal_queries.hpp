#pragma once

#include <optional>

#include "console/posix/terminal_reports.hpp"

// What the terminal said at start-up about itself.
struct TerminalAnswers {
  // How many columns it draws an em dash in; 0 when not measured.
  int em_dash_columns = 0;
  // Its own text and background colours, where it reported them.
  std::optional<Colour> text;
  std::optional<Colour> background;
};

// Asks the terminal of standard input and output, in one round trip of at
// most a quarter of a second, what tavoro needs to know of it: where
// measure_em_dash, how wide it draws an em dash (tavoro draws one, asks
// where the cursor went, and erases it again; the terminal must read
// UTF-8); where ask_colours, its text and background colours (OSC 10 and
// 11), to set them back when tavoro leaves. The position request goes last:
// a terminal answers in order, so its answer closes the others. Whatever the
// user types meanwhile is kept for the questions, and answers that come
// after the wait are taken out of the input wherever they arrive.
TerminalAnswers ask_terminal(bool measure_em_dash, bool ask_colours);
