#pragma once

#include <mutex>

// The console as tavoro found it: the attributes of every cell of standard
// output's screen buffer and the one text is written in, the buffer's and
// the window's size, the title and the input modes, each noted only where
// there is a console to read it from.

// Notes the console's state and arranges for it to be given back when
// Ctrl-C, Ctrl-Break or the closing of the window ends tavoro. Called once,
// before the console is changed.
void note_console();

// Held around every change of the console. The control handler runs on a
// thread of its own; it gives the console back only between two changes,
// and keeps the lock afterwards, so that nothing changes the console again
// before the process ends.
[[nodiscard]] std::unique_lock<std::mutex> console_change();

// Gives the console back its state as noted, once, whoever asks first.
void give_console_back();
