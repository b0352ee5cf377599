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

// What tavoro asks the terminal at start-up, and how long it waits.
struct TerminalQuestions {
  // How wide it draws an em dash (the terminal must read UTF-8).
  bool measure_em_dash = false;
  // Its text and background colours (OSC 10 and 11), to set them back when
  // tavoro leaves.
  bool ask_colours = false;
  // Whether the terminal is across a remote link, whose round trip alone
  // may take longer than tavoro waits for a local one.
  bool remote = false;
  // Whether the background answer may still follow the last position
  // report: GNU screen passes that question alone on to the terminal it runs
  // in, whose answer comes after screen's own reports.
  bool background_may_follow = false;
};

// Asks the terminal of standard input and output, in one round trip, what
// tavoro needs to know of it. The em dash is measured by difference: tavoro
// asks where the cursor is, draws one em dash, asks again, and erases it;
// so a terminal that counts columns from 0, or prints the colour questions
// it cannot parse, still measures right, the colour questions coming after
// both. The last question is a position request: a terminal answers in
// order, so its answer closes the others, and tavoro goes on at once.
// Whatever the user types meanwhile is kept for the questions, and answers
// that come after the wait are taken out of the input wherever they arrive.
TerminalAnswers ask_terminal(const TerminalQuestions& asked);
