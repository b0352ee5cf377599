#pragma once

#include <span>
#include <string_view>

// What the command line asks of tavoro. It takes no operands: with no
// argument it holds its dialogue; --help and --version only write text.
enum class CommandLineRequest { dialogue, help, version, refused };

struct CommandLine {
  CommandLineRequest request = CommandLineRequest::dialogue;
  // The first argument tavoro does not know, where the request is refused.
  std::string_view refused_argument;
};

// Reads the arguments that follow the program's name. Any argument other
// than --help and --version is refused, whatever else stands beside it;
// otherwise the first of them is the request.
CommandLine read_command_line(std::span<const char* const> arguments);

// Carries out --help, --version or a refusal; returns the exit status.
int answer_command_line(const CommandLine& line);
