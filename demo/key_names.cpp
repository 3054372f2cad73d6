#include "key_names.h"

#include <windows.h>

#include "loomkeys.h"

std::wstring KeyName(uint16_t virtualKey, uint16_t shiftKeys) {
  if (virtualKey == 0) return L"(none)";
  std::wstring name;
  if (shiftKeys & LOOMKEYS_MOD_CONTROL) name += L"Ctrl+";
  if (shiftKeys & LOOMKEYS_MOD_SHIFT) name += L"Shift+";
  if (shiftKeys & LOOMKEYS_MOD_ALT) name += L"Alt+";
  if (shiftKeys & LOOMKEYS_MOD_WIN) name += L"Win+";
  wchar_t keyText[32] = {};
  // The keyboard layout names the key as the keyboard shows it.
  const LONG scanCode = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  if (scanCode != 0 && GetKeyNameTextW(scanCode, keyText, 32) > 0) return name + keyText;
  wsprintfW(keyText, L"key 0x%02X", virtualKey);
  return name + keyText;
}

std::wstring ModeName(uint16_t activeMode) {
  const bool design = activeMode & LOOMKEYS_MODE_SLIDE_DESIGN;
  const bool show = activeMode & LOOMKEYS_MODE_SLIDE_SHOW;
  if (design && show) return L"both";
  if (design) return L"slide design";
  if (show) return L"slide show";
  return L"never";
}
