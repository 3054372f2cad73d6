#pragma once
// A window's device context with a font selected into it, for measuring
// text. The old font goes back and the context is released when it goes.
#include <windows.h>

namespace loomkeys {

class FontDC {
 public:
  FontDC(HWND window, HFONT font) : window_(window), dc_(GetDC(window)) {
    if (dc_) old_ = SelectObject(dc_, font);
  }
  // With the font the window draws its text in (WM_GETFONT).
  explicit FontDC(HWND window) : FontDC(window, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) {}
  ~FontDC() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  FontDC(const FontDC&) = delete;
  FontDC& operator=(const FontDC&) = delete;

  HDC Handle() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace loomkeys
