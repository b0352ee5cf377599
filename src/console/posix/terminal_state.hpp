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
// to standard output, whether colours may be set, and whether standard
// input is a terminal, whose line mode is then saved. Prepares what gives
// the terminal back its colours, title and size. Called once, at start-up.
void note_terminal(bool allow_sequences, bool allow_colours, bool terminal_input);

bool sequences_allowed();
bool colours_allowed();
bool input_is_terminal();

// That line mode with line editing and echo off, signal keys still working:
// a read returns once min_bytes have come or tenths of a second have passed.
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

// Every kept request, and the line mode in force, again. Safe in a signal
// handler.
void take_terminal_again();
