#pragma once

#include <windows.h>

// Ends the program when standard output cannot be written or standard
// input cannot be read: one line on standard error naming the system's
// reason for error in the user's language, the console given back, status 1.
[[noreturn]] void end_for_error(DWORD error);
