#include "win32/dialog_font.h"

#include <utility>

#include "win32/window_dpi.h"

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

void DialogFont::Swap(DialogFont& other) noexcept {
  std::swap(font_, other.font_);
  std::swap(owned_, other.owned_);
}

namespace {

bool IconTitleLogFont(int dpi, LOGFONTW& logFont) {
  static_assert(sizeof(LOGFONTW) == 92);
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto forDpi = User32Function<ForDpi>("SystemParametersInfoForDpi");
  if (forDpi) return forDpi(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0, static_cast<UINT>(dpi)) != FALSE;
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0)) return false;
  const int systemDpi = SystemDpi();
  if (dpi != systemDpi) logFont.lfHeight = MulDiv(logFont.lfHeight, dpi, systemDpi);
  return true;
}

}  // namespace

void SetIconTitleFont(DialogFont& font, int dpi) {
  LOGFONTW logFont = {};
  if (IconTitleLogFont(dpi, logFont)) {
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
