#include "console/windows/console_key.hpp"

namespace {

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

}  // namespace

void wait_for_key_press(HANDLE input) {
  // One record at a time, so that none after the key is taken. The release
  // of the key that ended the last answer, mouse and focus events are no
  // key press.
  for (;;) {
    INPUT_RECORD record{};
    DWORD count = 0;
    if (::ReadConsoleInputW(input, &record, 1, &count) == 0 || count == 0) {
      return;
    }
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (record.EventType == KEY_EVENT && key.bKeyDown != 0 && !is_modifier(key.wVirtualKeyCode)) {
      return;
    }
  }
}
