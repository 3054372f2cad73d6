#include "win32/dialog_font.h"

namespace loomkeys {

DialogFont::~DialogFont() { Assign(nullptr, false); }

void DialogFont::Assign(HFONT font, bool owned) {
  if (owned_ && font_ && font_ != font) DeleteObject(font_);
  font_ = font;
  owned_ = owned;
}

LOGFONTW DialogFont::Describe() const {
  LOGFONTW logFont = {};
  GetObjectW(font_, sizeof logFont, &logFont);
  return logFont;
}

void SetIconTitleFont(DialogFont& font) {
  LOGFONTW logFont = {};
  static_assert(sizeof(LOGFONTW) == 92);
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0)) {
    if (HFONT created = CreateFontIndirectW(&logFont)) {
      font.Assign(created, true);
      return;
    }
  }
  font.Assign(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
}

void SetBoldOnly(DialogFont& font) {
  LOGFONTW logFont = font.Describe();
  logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = FALSE;
  logFont.lfUnderline = FALSE;
  logFont.lfStrikeOut = FALSE;
  if (HFONT bold = CreateFontIndirectW(&logFont)) font.Assign(bold, true);
}

}  // namespace loomkeys
