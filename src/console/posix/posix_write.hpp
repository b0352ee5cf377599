#pragma once

#include <string_view>

// Writes all of bytes to the descriptor fd, going on after a write that a
// signal interrupted or that took only part of them, and waiting where the
// descriptor was left non-blocking. False when the descriptor cannot be
// written (a full disk, a closed descriptor, a reader gone), errno then
// saying why; nothing is retried after that. Safe to call from a signal
// handler.
bool write_all(int fd, std::string_view bytes);
