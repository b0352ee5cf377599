#pragma once

// What tavoro asks the terminal at start-up, and how long it waits.
struct TerminalQuestions {
  // Whether the terminal is across a remote link, whose round trip alone
  // may take longer than tavoro waits for a local one.
  bool remote = false;
};

// Asks the terminal of standard input and output, in one round trip, how
// many columns it draws an em dash in (it must read UTF-8): 1 or 2, or 0
// where it did not answer in time. The em dash is measured by difference:
// tavoro asks where the cursor is, draws one em dash, asks again, and
// erases it; so a terminal that counts columns from 0 still measures
// right. The last question is a position request: its answer closes the
// round, and tavoro goes on at once. Whatever the user types meanwhile is
// kept for the questions, and answers that come after the wait are taken
// out of the input wherever they arrive.
int ask_terminal(const TerminalQuestions& asked);
