#include "win32/win32_key_injector.h"

#include <windows.h>

#include "hotkeys/key_code.h"

namespace loomkeys {
namespace {

bool IsDown(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

}  // namespace

uint16_t Win32KeyInjector::ModifiersDown() noexcept {
  uint16_t down = 0;
  if (IsDown(VK_MENU)) down |= kModAlt;
  if (IsDown(VK_CONTROL)) down |= kModControl;
  if (IsDown(VK_SHIFT)) down |= kModShift;
  if (IsDown(VK_LWIN) || IsDown(VK_RWIN)) down |= kModWin;
  return down;
}

bool Win32KeyInjector::RightAltDown() noexcept { return IsDown(VK_RMENU); }

bool Win32KeyInjector::SendKeyStrokes(const KeyStroke* strokes, size_t count) noexcept {
  INPUT inputs[16] = {};
  if (count == 0 || count > sizeof inputs / sizeof inputs[0]) return false;
  for (size_t i = 0; i < count; ++i) {
    KEYBDINPUT& key = inputs[i].ki;
    inputs[i].type = INPUT_KEYBOARD;
    key.wVk = strokes[i].virtualKey;
    // The scan code too, as a keyboard sends it: programs that read keys by
    // their scan code (and Wine's hot-key control) would see 0 otherwise.
    key.wScan = strokes[i].scanCode;
    key.dwFlags = (strokes[i].up ? KEYEVENTF_KEYUP : 0) | (strokes[i].extended ? KEYEVENTF_EXTENDEDKEY : 0);
    key.dwExtraInfo = kInjectedInputMarker;
  }
  // One call: Windows inserts the events as one run, with no keystroke of
  // the user's between them.
  return SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT)) == count;
}

bool Win32KeyInjector::SendCharacters(const char16_t* text, size_t length) noexcept {
  INPUT inputs[4] = {};
  if (length == 0 || length * 2 > sizeof inputs / sizeof inputs[0]) return false;
  for (size_t i = 0; i < length * 2; ++i) {
    KEYBDINPUT& key = inputs[i].ki;
    inputs[i].type = INPUT_KEYBOARD;
    key.wScan = text[i / 2];
    key.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
    key.dwExtraInfo = kInjectedInputMarker;
  }
  return SendInput(static_cast<UINT>(length * 2), inputs, sizeof(INPUT)) == length * 2;
}

}  // namespace loomkeys
