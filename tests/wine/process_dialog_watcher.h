#pragma once
// A watcher for the dialogs that one other process shows, found by the
// process rather than by caption (for boxes whose caption the test does not
// know): it reads the first visible dialog's caption, text, buttons and icon,
// and presses its first button (OK in a message box).
#include <windows.h>

#include <string>
#include <vector>

namespace process_dialog {

constexpr DWORD kWaitMs = 30000;

// What the watcher saw. The caller sets processId before the watch starts.
struct BoxSeen {
  DWORD processId = 0;
  bool found = false;
  std::string caption;
  std::string text;
  std::vector<int> buttonIds;
  bool hasIcon = false;
  const char* icon = "none";  // "information", "warning", "error", "question" or "none"
};

// The bitmap's pixels, top row first, as 32-bit BGRA.
inline std::vector<uint32_t> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

// Which of the system's message-box icons a static control shows, found by
// comparing its pixels on the screen with each icon drawn on the control's
// background: icon handles belong to the process that loaded them (and a
// DC of another process's window has no pixels under Wine), the screen does.
inline const char* ShownIcon(HWND control) {
  RECT rect;
  GetClientRect(control, &rect);
  const int width = rect.right, height = rect.bottom;
  POINT origin = {0, 0};
  ClientToScreen(control, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  const std::vector<uint32_t> shown = Pixels(memory, bitmap, width, height);
  const struct {
    const char* name;
    LPCSTR id;
  } icons[] = {
      {"information", IDI_INFORMATION}, {"warning", IDI_WARNING}, {"error", IDI_ERROR}, {"question", IDI_QUESTION}};
  const char* best = "none";
  size_t bestDifference = shown.size() / 8;  // a match must be close
  for (const auto& icon : icons) {
    old = SelectObject(memory, bitmap);
    HBRUSH background = CreateSolidBrush(GetPixel(memory, 0, 0));
    FillRect(memory, &rect, background);
    DeleteObject(background);
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, icon.id), width, height, 0, nullptr, DI_NORMAL);
    SelectObject(memory, old);
    const std::vector<uint32_t> drawn = Pixels(memory, bitmap, width, height);
    size_t difference = 0;
    for (size_t i = 0; i < shown.size(); ++i) difference += shown[i] != drawn[i];
    if (difference < bestDifference) {
      best = icon.name;
      bestDifference = difference;
    }
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return best;
}

inline std::string WindowText(HWND window) {
  char text[512] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

inline HWND FindDialogOfProcess(DWORD processId) {
  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner == processId && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

// Thread procedure, parameter a BoxSeen: waits for a dialog of the watched
// process, reads it and presses its first button.
inline DWORD WINAPI AnswerBox(void* parameter) {
  auto* seen = static_cast<BoxSeen*>(parameter);
  HWND box = nullptr;
  for (DWORD waited = 0; !box && waited < kWaitMs; waited += 20) {
    Sleep(20);
    box = FindDialogOfProcess(seen->processId);
  }
  if (!box) return 0;
  Sleep(50);  // the box exists before its controls do
  seen->found = true;
  seen->caption = WindowText(box);
  HWND button = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Button") == 0) {
      seen->buttonIds.push_back(GetDlgCtrlID(child));
      if (!button) button = child;
    } else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
      seen->hasIcon = true;
      // Painted a moment after the box shows.
      for (int attempt = 0; attempt < 20 && std::string(seen->icon) == "none"; ++attempt) {
        seen->icon = ShownIcon(child);
        if (std::string(seen->icon) == "none") Sleep(50);
      }
    } else if (GetDlgCtrlID(child) == 0xFFFF) {
      seen->text = WindowText(child);
    }
  }
  if (button)
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return 0;
}

}  // namespace process_dialog
