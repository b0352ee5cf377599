#include "shell/console.hpp"

#include <cstdlib>
#include <iostream>

std::string_view command_line(ConsoleCommand command) {
  switch (command) {
    case ConsoleCommand::title:
      return "title C++Tavoro程序";
    case ConsoleCommand::width:
      return "mode con cols=55";
    case ConsoleCommand::look_start:
      return "color f0";
    case ConsoleCommand::look_accepted:
      return "color fa";
    case ConsoleCommand::look_rejected:
      return "color c";
    case ConsoleCommand::clear:
      return "cls";
    case ConsoleCommand::pause:
      return "pause";
  }
  return "";
}

void end_program() {
  close_console();
  std::exit(0);
}
