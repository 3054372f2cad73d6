#pragma once
// Presses keys as a user would, through SendInput.
#include <windows.h>

#include <vector>

namespace key_input {

// Presses virtualKey with the MOD_ALT / MOD_CONTROL / MOD_SHIFT keys held.
inline void PressChord(UINT modifiers, WORD virtualKey) {
  std::vector<WORD> held;
  if (modifiers & MOD_CONTROL) held.push_back(VK_CONTROL);
  if (modifiers & MOD_SHIFT) held.push_back(VK_SHIFT);
  if (modifiers & MOD_ALT) held.push_back(VK_MENU);
  std::vector<INPUT> inputs;
  auto key = [&inputs](WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    // With the scan code too, as a keyboard sends it: Wine's hot-key control
    // reads the key from it.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD vk : held) key(vk, false);
  key(virtualKey, false);
  key(virtualKey, true);
  for (auto it = held.rbegin(); it != held.rend(); ++it) key(*it, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace key_input
