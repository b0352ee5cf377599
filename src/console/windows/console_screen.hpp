#pragma once

#include <windows.h>

// The screen buffer tavoro writes in, and what kind of console shows it.
//
// In a console window of its own, tavoro writes in a screen buffer of its
// own, 55 columns wide and as tall as the longest screen needs, shown in a
// window of 55 columns: the user's buffer is not touched, and comes back as
// it was, its lines wider than 55 columns whole, when tavoro ends. In a
// console that a terminal draws (Windows Terminal's pseudoconsole), the
// size is the terminal's and tavoro writes in standard output's buffer.

// How the console of standard output is shown.
enum class ConsoleShown {
  own_window,  // a console window of the console host's own, on the screen
  terminal,    // drawn by a terminal through a pseudoconsole
  unknown,     // neither told for certain: treated with no size forced
};

// Tells, once, how standard output's console is shown; unknown where it is
// no console.
ConsoleShown console_shown();

// Where the console has a window of its own: makes tavoro's screen buffer
// and shows it. Elsewhere, or where the console refuses a step, changes
// nothing. Does nothing the second time.
void open_own_screen();

// The screen buffer tavoro writes in: its own, or standard output's.
HANDLE screen();

// Shows the user's screen buffer again; true where tavoro had one of its own,
// so that the user's buffer was never changed.
bool close_own_screen();

// The window's columns and rows.
COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info);
