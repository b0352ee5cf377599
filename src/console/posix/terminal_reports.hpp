#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a terminal answers when tavoro asks it at start-up where the cursor
// is: ESC [ row ; column R. This only looks at bytes: reading them is the
// caller's.

// The reports taken out of what the terminal sent, and what is left of it:
// the user's typing.
struct TakenReports {
  std::string typed;
  std::vector<int> columns;  // of the position reports taken, in order
  // The end of bytes where a report may have begun and not yet ended: held
  // until what follows tells, never typing.
  std::string unfinished;
};

// Takes out of bytes the first awaited_positions position reports, which a
// key may send too (Shift-F3 sends ESC [ 1 ; 2 R), so only as many as are
// awaited are taken. What no report is awaited for is typing.
TakenReports take_reports(std::string_view bytes, std::size_t awaited_positions);
