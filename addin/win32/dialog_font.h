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

 private:
  HFONT font_ = nullptr;
  bool owned_ = false;
};

// Gives `font` the system's icon-title font (SPI_GETICONTITLELOGFONT, taken as
// it is, unscaled), or the stock DEFAULT_GUI_FONT when Windows cannot say.
void SetIconTitleFont(DialogFont& font);

// Makes `font` bold and nothing else: italic, underline and strike-out are
// dropped; face, height and character set stay.
void SetBoldOnly(DialogFont& font);

}  // namespace loomkeys
