#include "shell/console.hpp"
#include "shell/menu.hpp"

// Command-line arguments are ignored.
int main() {
  open_console();
  run_console_command(ConsoleCommand::title);
  run_console_command(ConsoleCommand::width);
  run_console_command(ConsoleCommand::look_start);
  run_main_menu();
  close_console();
  return 0;
}
