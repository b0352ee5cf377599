#pragma once

#include <span>
#include <string_view>

// What the command line asks of tavoro. It takes no operands: with no
// argument, or --lunar alone, it holds its dialogue; --help and --version
// only write text.
enum class CommandLineRequest { dialogue, help, version, refused };

struct CommandLine {
  CommandLineRequest request = CommandLineRequest::dialogue;
  // The first argument tavoro does not know, where the request is refused.
  std::string_view refused_argument;
  // --lunar: the calendars and reports show the lunar calendar too.
  bool lunar = false;
};

// Reads the arguments that follow the program's name. Any argument other
// than --help, --version and --lunar is refused, whatever else stands
// beside it; otherwise the first of --help and --version is the request.
CommandLine read_command_line(std::span<const char* const> arguments);

// Carries out --help, --version or a refusal; returns the exit status.
int answer_command_line(const CommandLine& line);
