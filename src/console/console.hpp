#pragma once

#include <string_view>

// The seven console commands through which tavoro drives its window, each
// named for the Windows command line whose effect it has. The vocabulary is
// fixed, and no other program is ever started to carry one out. On Windows
// each acts on the console through the console's own interface; elsewhere
// it is written as terminal control sequences. Either way the width, the
// looks and the clearing reach only a console or terminal on standard
// output. Where no one can press a key, standard input not being a terminal
// or console, "pause" writes its request and goes on.
enum class ConsoleCommand {
  title,          // "title C++Tavoro程序"
  width,          // "mode con cols=55"
  look_start,     // "color f0": black on bright white
  look_accepted,  // "color fa": light green on bright white
  look_rejected,  // "color c": light red on black
  clear,          // "cls"
  pause,          // "pause": asks for a key and waits for one
};

// What "pause" shows before it waits for a key: the request of a Chinese
// Windows, on every system. Where no key is waited for, it is written all
// the same.
inline constexpr std::string_view pause_request = "请按任意键继续. . . ";

// Prepares standard output alone: its encoding, its flushing, and the end
// of the program, reported on standard error with status 1, should it
// become unwritable. Enough for a run that only writes text and holds no
// dialogue; open_console does it first.
void open_console_output();

// Prepares standard output, notes the terminal's own state so that it can
// be given back, and arranges for it to be given back when a signal, or on
// Windows a console control event, ends the program. Called once, before
// anything is written.
void open_console();

// Writes one line to standard error: "tavoro: ", then text, argument and
// more_text in turn. The two texts are tavoro's own, in the console's
// encoding; the argument is written as the user gave it, in whatever
// encoding the command line had; on a terminal, its control bytes are
// shown escaped rather than acted on.
void report_error(std::string_view text, std::string_view argument = {},
                  std::string_view more_text = {});

// How many columns the terminal draws an em dash in, as open_console
// measured it: 1 or 2, or 0 where nothing was measured. A Chinese console
// draws it two columns wide; many UTF-8 terminals draw it one.
int em_dash_columns();

// Runs one console command, standard output flushed first. Its success is
// never looked at.
void run_console_command(ConsoleCommand command);

// Flushes standard output and gives the terminal back, for good: its own
// colours, title and modes, and its size where the window still has the
// size tavoro asked for.
void close_console();

// Ends the program with status 0, the terminal given back.
[[noreturn]] void end_program();
