#pragma once

#include <optional>
#include <string>

struct TerminalSize {
  unsigned short rows;
  unsigned short columns;
};

// The size of the terminal on standard output, if it is one and says.
std::optional<TerminalSize> terminal_size();

// Asks the terminal to be rows by columns.
std::string resize_request(unsigned short rows, unsigned short columns);
