#include <span>

#include "app/command_line.hpp"
#include "app/menu.hpp"
#include "console/console.hpp"
#include "render/screens.hpp"

int main(int argc, char* argv[]) {
  // A program may be started with no arguments at all, not even its name.
  const std::span<const char* const> arguments =
      argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
               : std::span<const char* const>();
  const CommandLine line = read_command_line(arguments);
  if (line.request != CommandLineRequest::dialogue) {
    open_console_output();
    const int status = answer_command_line(line);
    close_console();
    return status;
  }
  open_console();
  // The rule lines are drawn for the em dash the terminal was found to draw.
  set_em_dash_columns(em_dash_columns());
  run_console_command(ConsoleCommand::title);
  run_console_command(ConsoleCommand::width);
  run_console_command(ConsoleCommand::look_start);
  run_main_menu(line.lunar);
}
