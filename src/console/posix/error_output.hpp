#pragma once

// Ends the program when standard output cannot be written: one line on
// standard error naming error_number's reason in the user's language, the
// terminal given back, status 1. Whatever is still held for the output is
// dropped, since it could not be written either.
[[noreturn]] void end_for_unwritable_output(int error_number);

// Ends the program in the same way when standard input cannot be read (a
// directory, a terminal gone): the output written first, then the reason.
[[noreturn]] void end_for_unreadable_input(int error_number);
