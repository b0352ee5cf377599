#pragma once

#include <windows.h>

// The size of standard output's console: its screen buffer and the window
// that shows part of it. tavoro asks for a window 55 columns wide, its rows
// unchanged, and gives back at the end only what it changed and what the
// user has not changed since.

// Makes the window 55 columns wide (or as wide as the screen allows below
// that), widening the buffer only where it is narrower, so that nothing the
// user's earlier lines hold right of column 55 is cut off. Where the buffer
// has no rows beyond its window, the console belongs to a terminal (Windows
// Terminal hosts it through a pseudoconsole, whose size the terminal keeps)
// and no size is changed. Called once; does nothing the second time.
void narrow_console(HANDLE output);

// Gives the buffer back its width and the window its size as found, each
// only where tavoro changed it and the console still has the size tavoro
// left it in: a window the user resized meanwhile keeps the user's size.
void give_size_back(HANDLE output);

// The window's columns and rows.
COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info);
