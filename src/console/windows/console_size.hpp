#pragma once

#include <windows.h>

// Gives a console screen buffer the size buffer and its window columns by
// rows, the window moved as little as it must to keep the cursor in view.
// The window never leaves the buffer on the way, whichever of them grows or
// shrinks. False where the console refused any step.
bool resize_console(HANDLE output, COORD buffer, SHORT columns, SHORT rows);

// The window's columns and rows.
COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info);
