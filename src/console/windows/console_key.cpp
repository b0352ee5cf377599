#include "console/windows/console_key.hpp"

namespace {

constexpr DWORD alt_held = LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED;

bool is_modifier(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
    default:
      return false;
  }
}

// A key of the numeric keypad, whatever Num Lock says: the digits, or with
// Num Lock off the keys that share them (those of the cursor block come
// marked as enhanced).
bool is_keypad_digit(const KEY_EVENT_RECORD& key) {
  const WORD code = key.wVirtualKeyCode;
  if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) {
    return true;
  }
  switch (code) {
    case VK_INSERT:
    case VK_END:
    case VK_DOWN:
    case VK_NEXT:
    case VK_LEFT:
    case VK_CLEAR:
    case VK_RIGHT:
    case VK_HOME:
    case VK_UP:
    case VK_PRIOR:
      return (key.dwControlKeyState & ENHANCED_KEY) == 0;
    default:
      return false;
  }
}

// The event that makes a key press: a key going down, but for the modifiers
// alone and the keypad digits typed with Alt held, which make up a
// character that comes with the Alt key's release, itself a press.
bool is_press(const INPUT_RECORD& record) {
  if (record.EventType != KEY_EVENT) {
    return false;
  }
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  if (key.bKeyDown == 0) {
    return key.wVirtualKeyCode == VK_MENU && key.uChar.UnicodeChar != 0;
  }
  return !is_modifier(key.wVirtualKeyCode) &&
         !((key.dwControlKeyState & alt_held) != 0 && is_keypad_digit(key));
}

// Whether next, the event after those taken so far, still belongs to the
// press: a release that types nothing, an event that is no key, the low
// half of a character whose high half the press typed, and the rest of an
// input method's commit (its characters come as VK_PACKET, all at once).
bool belongs(const INPUT_RECORD& next, const KEY_EVENT_RECORD& press, bool low_half_due) {
  if (next.EventType != KEY_EVENT) {
    return true;
  }
  const KEY_EVENT_RECORD& key = next.Event.KeyEvent;
  if (key.bKeyDown == 0) {
    return !is_press(next);
  }
  return (low_half_due && IS_LOW_SURROGATE(key.uChar.UnicodeChar)) ||
         (press.wVirtualKeyCode == VK_PACKET && key.wVirtualKeyCode == VK_PACKET);
}

// Reads one event; false where the input is gone. A read that returns no
// event is read again, never the end of the input (microsoft/terminal#15859).
bool read_event(HANDLE input, INPUT_RECORD& record) {
  DWORD count = 0;
  while (count == 0) {
    if (::ReadConsoleInputW(input, &record, 1, &count) == 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

void wait_for_key_press(HANDLE input) {
  // One event at a time, so that none after the press is taken. The
  // release of the key that ended the last answer, mouse and focus events
  // are no key press.
  INPUT_RECORD record{};
  do {
    if (!read_event(input, record)) {
      return;
    }
  } while (!is_press(record));
  const KEY_EVENT_RECORD press = record.Event.KeyEvent;
  bool low_half_due = IS_HIGH_SURROGATE(press.uChar.UnicodeChar);
  // What is already there after the press, as far as it belongs to it; the
  // low half of a character is waited for.
  for (;;) {
    DWORD count = 0;
    if (::PeekConsoleInputW(input, &record, 1, &count) == 0) {
      return;
    }
    if (count == 0) {
      if (!low_half_due || ::WaitForSingleObject(input, INFINITE) != WAIT_OBJECT_0) {
        return;
      }
      continue;
    }
    if (!belongs(record, press, low_half_due) || !read_event(input, record)) {
      return;
    }
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown != 0) {
      low_half_due = low_half_due && !IS_LOW_SURROGATE(record.Event.KeyEvent.uChar.UnicodeChar);
    }
  }
}
