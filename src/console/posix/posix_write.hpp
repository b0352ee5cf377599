#pragma once

#include <string_view>

// Writes all of bytes to the descriptor fd, a piece at a time, each piece
// written only once fd is ready to take it. The wait lets in the signals
// tavoro guards (see terminal_signals.hpp), so that a stop or an ending
// that comes while the terminal holds its output back (Ctrl-S, a slow link,
// a pipe nobody reads) is noted at once; a piece is never cut by one.
// on_signal, where given, is called after every wait, to act on what came.
// A piece ends at a line end where one is near, so that no character or
// control sequence is ever cut in two. False when the descriptor cannot be
// written (a full disk, a closed descriptor, a reader gone), errno then
// saying why; nothing is retried after that.
bool write_all(int fd, std::string_view bytes, void (*on_signal)() = nullptr);
