#include "app/menu.hpp"
#include "console/console.hpp"
#include "render/screens.hpp"

// Command-line arguments are ignored.
int main() {
  open_console();
  // The rule lines are drawn for the em dash the terminal was found to draw.
  set_em_dash_columns(em_dash_columns());
  run_console_command(ConsoleCommand::title);
  run_console_command(ConsoleCommand::width);
  run_console_command(ConsoleCommand::look_start);
  run_main_menu();
}
