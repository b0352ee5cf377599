#pragma once

#include <string_view>

// Writes all of bytes to the descriptor fd, going on after a write that a
// signal interrupted or that took only part of them. A descriptor that
// cannot be written (a full disk, a closed descriptor, a reader gone) ends
// the attempt: the bytes are lost and the dialogue goes on regardless.
// Safe to call from a signal handler.
void write_all(int fd, std::string_view bytes);
