#include "console/console.hpp"

#include <cstdlib>

void end_program() {
  close_console();
  std::exit(0);
}
