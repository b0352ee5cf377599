#pragma once

#include <termios.h>

#include <string_view>

// The terminal as tavoro found it, and what tavoro has asked of it since.
// Both are kept as prepared bytes and saved modes, so that a signal handler
// can give the terminal back, or take it again after a stop, with
// async-signal-safe calls alone.

// What a console command asks of the terminal, kept to be asked again.
enum class KeptRequest { title, width, look, count };

// Notes how far tavoro may drive the terminal: whether control sequences go
// to standard output, whether standard input is a terminal, whose line mode
// is then saved, and whether standard output is one, which alone is shown
// its unfinished line again after a stop. Prepares what gives the terminal
// back its title and size. Called once, at start-up; colours are allowed
// only later, by allow_colours.
void note_terminal(bool allow_sequences, bool terminal_input, bool terminal_output);

// From now on the looks may recolour the terminal, and give_back_colours
// sets its own colours again whenever it is given back.
void allow_colours(std::string_view give_back_colours);

bool sequences_allowed();
bool colours_allowed();
bool input_is_terminal();

// The line mode standard input had when tavoro started, with line editing
// and echo off, signal keys still working: a read returns once min_bytes
// have come or tenths of a second have passed.
termios unedited_input_modes(cc_t min_bytes, cc_t tenths);

// Writes the bytes of a request to standard output, standard output flushed
// first, and keeps them, replacing the last request of the same kind.
void send_kept_request(KeptRequest kind, std::string_view bytes);

// Puts modes in force on standard input until leave_input_modes; they are
// put back if tavoro is stopped and continued meanwhile.
void enter_input_modes(const termios& modes);
void leave_input_modes();

// The terminal's own colours, title, size and line mode. Safe in a signal
// handler.
void give_terminal_back();

// Every kept request and the line mode in force again, and the line left
// unfinished (the question or the pause request) written once more under
// whatever the shell wrote meanwhile. Safe in a signal handler.
void take_terminal_again();
