#pragma once

#include <windows.h>

// Waits for one key to be pressed on the console input, taking nothing but
// that key's press: not echoed, and whatever is typed after it stays for
// the next read. Shift, Ctrl, Alt, the Windows keys and the lock keys alone
// are no key. Returns at once where the input is no console, or is gone.
void wait_for_key_press(HANDLE input);
