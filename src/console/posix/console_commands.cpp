// Console commands on terminals: control sequences written to standard
// output, and only when it is a terminal that takes them, so that a pipe or
// a file receives the text alone. "pause" is the one command that writes
// text everywhere.

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "console/console.hpp"
#include "console/console_input.hpp"
#include "console/console_output.hpp"
#include "console/posix/error_output.hpp"
#include "console/posix/gbk_encoding.hpp"
#include "console/posix/input_queue.hpp"
#include "console/posix/line_editor.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_looks.hpp"
#include "console/posix/terminal_owner.hpp"
#include "console/posix/terminal_queries.hpp"
#include "console/posix/terminal_signals.hpp"
#include "console/posix/terminal_size.hpp"

namespace {

int measured_em_dash_columns = 0;

void write_to_stdout(std::string_view bytes) {
  // Nothing of tavoro's reaches a terminal it has given back: a stop noted
  // while the terminal holds the output back is acted on there and then.
  act_on_signals();
  if (!write_all(STDOUT_FILENO, bytes, act_on_signals)) {
    end_for_unwritable_output(errno);
  }
}

bool is_set(const char* name) {
  const char* const value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A terminal that says it understands no control sequences gets none, and
// so does one that says nothing of itself.
bool terminal_takes_sequences() {
  const char* const term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::string_view(term) != "dumb";
}

// Whoever sets NO_COLOR to anything wants no colours from tavoro.
bool colours_wanted() {
  return !is_set("NO_COLOR");
}

void change(TerminalChange kind, std::string_view sequence) {
  if (sequences_allowed()) {
    change_terminal(kind, console_bytes(sequence));
  }
}

void wait_for_key() {
  use_line_modes(unedited_input_modes(1, 0));
  read_key();
  use_session_line_modes();
}

}  // namespace

void open_console_output() {
  std::ios::sync_with_stdio(false);
  std::setlocale(LC_CTYPE, "");
  // The reason of a write error is named in the user's language.
  std::setlocale(LC_MESSAGES, "");
  install_console_output(gbk_encoder_for_locale(), write_to_stdout);
}

void open_console() {
  wait_for_foreground();
  open_console_output();
  const ConsoleEncoder encoder = gbk_encoder_for_locale();
  // Keys and answers are read in the encoding tavoro writes, the one the
  // terminal is taken to read and so to type.
  const InputEncoding encoding = encoder == nullptr ? InputEncoding::utf8 : InputEncoding::gbk;
  open_input_queue(encoding);

  const bool output_is_terminal = ::isatty(STDOUT_FILENO) == 1;
  take_terminal(output_is_terminal && terminal_takes_sequences(), ::isatty(STDIN_FILENO) == 1,
                output_is_terminal);
  if (holds_a_terminal()) {
    guard_terminal_against_signals();
  }
  // The line editor where a person types answers and reads them on a
  // terminal that takes control sequences; elsewhere the terminal's own
  // line, or none, and the output byte for byte as the text.
  const bool edited = sequences_allowed() && input_is_terminal() && open_line_editor(encoding);
  install_console_input(encoding, edited ? read_edited : read_typed);
  if (!sequences_allowed()) {
    return;
  }
  // A GBK terminal is a Chinese console, which draws the em dash two columns
  // wide: it is asked nothing.
  if (input_is_terminal() && encoder == nullptr) {
    // ssh sets SSH_CONNECTION and SSH_TTY for the session it opens.
    measured_em_dash_columns =
        ask_terminal({.remote = is_set("SSH_CONNECTION") || is_set("SSH_TTY")});
  }
  // GNU screen (STY set for the programs in its windows) erases without
  // the background unless told defbce, which a program cannot tell it; so
  // do emacs's terminal, which names itself eterm, and dvtm, which also
  // draws eight colours only.
  if (colours_wanted()) {
    const std::string_view term = std::getenv("TERM");
    const bool dvtm = term == "dvtm";
    allow_looks(encoder != nullptr, is_set("STY") || term.starts_with("eterm") || dvtm, dvtm);
  }
}

void run_console_command(ConsoleCommand command) {
  switch (command) {
    case ConsoleCommand::title:
      // The terminal first saves its own title, to be given back at the end.
      change(TerminalChange::title, "\x1b[22;0t\x1b]0;C++Tavoro程序\x07");
      break;
    case ConsoleCommand::width:
      // Keep the rows: several terminals ignore a resize with an empty field.
      if (const auto size = terminal_size(); size && sequences_allowed()) {
        note_size_asked(size->rows, 55);
        change(TerminalChange::width, resize_request(size->rows, 55));
      }
      break;
    case ConsoleCommand::look_start:
      change_look(Look::start);
      break;
    case ConsoleCommand::look_accepted:
      change_look(Look::accepted);
      break;
    case ConsoleCommand::look_rejected:
      change_look(Look::rejected);
      break;
    case ConsoleCommand::clear:
      if (sequences_allowed()) {
        write_console_control(clearing());
        note_cleared();
      }
      break;
    case ConsoleCommand::pause:
      std::cout << pause_request;
      std::cout.flush();
      if (input_is_terminal()) {
        wait_for_key();
      }
      std::cout << std::endl;
      break;
  }
}

int em_dash_columns() {
  return measured_em_dash_columns;
}

void close_console() {
  std::cout.flush();
  release_held_line();
  unguard_terminal();
  give_terminal_back_for_good();
}
