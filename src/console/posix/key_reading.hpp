#pragma once

// Waits for one key on the terminal of standard input, unechoed, and takes
// that key alone, so that what is typed after it stays for the questions.
// A character of several bytes in the locale's encoding is one key, and so
// is the escape sequence of an arrow or function key.
void wait_for_key();
