#pragma once

#include <termios.h>

#include <string_view>

// The one owner of the terminal: the state tavoro found it in, what tavoro
// has changed since (the title, the width), and the line modes
// in force. It gives the terminal back, at an ending or a stop, and
// takes it again after a stop. Everything written to the terminal goes
// through the console's one output path (console_output.hpp), but for what
// this owner writes itself while the output path holds nothing unwritten:
// the give-back and the showing of tavoro's state again.

// What tavoro changes in the terminal, each kept to be shown again.
enum class TerminalChange { title, width, count };

// Notes the terminal as found, before anything is written: whether control
// sequences go to standard output, whether standard input and standard
// output are terminals, the line modes and the size. Prepares the give-back
// of the title and the size.
void take_terminal(bool allow_sequences, bool terminal_input, bool terminal_output);

bool sequences_allowed();
bool input_is_terminal();
// Whether standard input or output is a terminal: one that tavoro may have
// to give back.
bool holds_a_terminal();

// Writes a change through the output path and keeps it, replacing the last
// change of its kind. A width request states the size asked for, so that
// the size found is given back only where the window still has that size.
void change_terminal(TerminalChange kind, std::string_view bytes);
void note_size_asked(unsigned short rows, unsigned short columns);

// The line modes standard input had when tavoro found it, with line editing
// and echo off, signal keys still working: a read returns once min_bytes
// have come or tenths of a second have passed. keep_input: a signal key
// leaves what was typed before it (NOFLSH), so that the terminal's answers
// on their way are not thrown away by Ctrl-Z or Ctrl-C.
termios unedited_input_modes(cc_t min_bytes, cc_t tenths, bool keep_input = false);
// Puts modes in force on standard input, or the modes of the session: the
// modes found, or those the line editor works in (set_session_line_modes).
// A call that a signal interrupts is made again.
void use_line_modes(const termios& modes);
void set_session_line_modes(const termios& modes);
void use_session_line_modes();

// Whether the line being answered is drawn by the line editor, which then
// draws it again itself after a stop or a repaint, rather than tavoro's
// showing it.
void set_line_drawn_by_editor(bool drawn);
// How many times the window was shown again: the terminal taken again after
// a stop, or the window painted again after a resize.
unsigned times_taken_again();

// Paints the window again in the look in force, after its size changed:
// cells it did not have are the terminal's own until then.
void paint_window_again();

// Whether tavoro's process group has the terminal (or nothing to have).
bool in_foreground();

// Gives the terminal back its own title, line modes and, where
// the window still has the size tavoro asked for, its size, whole: the
// question held for the line editor is shown first, and what tavoro knows
// to be on the window is shown in the terminal's own colours. Does nothing once the
// terminal is given back.
void give_terminal_back();
// The last give-back: the terminal is never taken again.
void give_terminal_back_for_good();
// Whether the terminal is given back for a while (a stop) and not yet
// taken again.
bool terminal_given_back();

// Takes the terminal again after a stop, in the foreground only: the line
// modes in force first, then tavoro's title and width and the line left
// unfinished (a question or the pause request), shown again in the look
// under whatever the shell wrote meanwhile (the line editor draws the
// answer typed so far after it).
void take_terminal_again();
