#pragma once

#include <mutex>

// The console as tavoro found it, to be given back when tavoro ends: the
// title, and where tavoro writes in the user's screen buffer
// (console_screen.hpp), the attribute text is written in and the colours of
// the cells that hold the user's earlier text, each noted only where there
// is a console to read it from. The input modes are the user's throughout:
// tavoro changes none, and gives none back.

// Notes the console's state and arranges for it to be given back when
// Ctrl-C or Ctrl-Break ends tavoro. Called once, before the console is
// changed or written to.
void note_console();

// Held around every change of the console and every write to it. The
// control handler runs on a thread of its own; it gives the console back
// only between two of them, and keeps the lock afterwards, so that nothing
// reaches the console once it is given back.
[[nodiscard]] std::unique_lock<std::mutex> console_change();

// Whether the console has been given back; asked with the lock held.
bool console_given_back();

// Tells that tavoro cleared the buffer: none of the user's text is left.
void note_clearing();

// Whether a control handler has begun to end tavoro for Ctrl-C or
// Ctrl-Break: a read that Ctrl-C cut short is no end of the input.
bool control_event_seen();

// Gives the console back its state as noted, once, whoever asks first; the
// lock held (by the caller) or taken.
void give_back_locked();
void give_console_back();
