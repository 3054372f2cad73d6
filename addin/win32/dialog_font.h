#pragma once
// The fonts of the library's dialogs. Both dialogs are drawn in the font that
// Windows uses for icon titles rather than in a font of their own.
#include <windows.h>

namespace loomkeys {

// A font handle that a dialog uses, deleted with it unless it is a stock font.
class DialogFont {
 public:
  DialogFont() = default;
  ~DialogFont();
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;

  HFONT Handle() const { return font_; }
  // Takes the font over; an owned font is deleted when replaced or at the end.
  void Assign(HFONT font, bool owned);
  // The logical font behind the handle.
  LOGFONTW Describe() const;
  // Exchanges the fonts: a form makes its new font beside the old one, gives
  // it to its controls, and only then lets the old one go.
  void Swap(DialogFont& other) noexcept;

 private:
  HFONT font_ = nullptr;
  bool owned_ = false;
};

// Gives `font` the system's icon-title font for a window at `dpi`
// (SystemParametersInfoForDpi where Windows has it; before Windows 10 version
// 1607 the system DPI's font scaled by dpi / system DPI, which is that font
// itself at the system DPI), or the stock DEFAULT_GUI_FONT when Windows
// cannot say.
void SetIconTitleFont(DialogFont& font, int dpi);

// Makes `font` bold and nothing else: italic, underline and strike-out are
// dropped; face, height and character set stay.
void SetBoldOnly(DialogFont& font);

}  // namespace loomkeys
