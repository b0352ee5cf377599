#pragma once

#include <windows.h>

// Waits for one key press on the console input and takes it whole, not
// echoed: with the low half of a character typed in two halves, the rest
// of what an input method commits at once, and for a character typed as
// Alt and keypad digits, the digits and the Alt key's release that brings
// it. Whatever is typed after the press stays for the next read. Shift,
// Ctrl, Alt, the Windows keys and the lock keys alone are no key press.
// Returns at once where the input is no console, or is gone.
void wait_for_key_press(HANDLE input);
