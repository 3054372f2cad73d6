#include "win32/about_box.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "customize/about_box_ids.h"
#include "customize/dialog_layout.h"
#include "product_info.h"
#include "win32/library_instance.h"
#include "win32/modal_form.h"

namespace loomkeys {
namespace {

static_assert(kAboutOkButtonId == IDOK, "the dialog manager's default button");

constexpr wchar_t kProductName[] = L"Keyloom 9 for PowerPoint";
constexpr COLORREF kLogoTransparent = RGB(255, 0, 255);

class AboutForm final : public ModalForm {
 public:
  AboutForm() : ModalForm(L"About", kAboutBoxLayout) {}

 protected:
  void FormCreate() override {
    logo_ = static_cast<HBITMAP>(LoadImageW(LibraryInstance(), L"LOOMKEYS_LOGO", IMAGE_BITMAP, 0, 0, 0));
    AddControl(L"STATIC", L"", SS_OWNERDRAW, kLogoId);
    AddControl(L"STATIC", L"", SS_ETCHEDFRAME, kFrameId);
    AddControl(L"STATIC", L"", SS_ETCHEDFRAME, kLogoFrameId);
    // The links look like plain text; only the hand cursor tells that they
    // can be clicked.
    AddControl(L"STATIC", kProductName, SS_NOPREFIX | SS_NOTIFY, kProductLabelId);
    SetProductFont();
    AddControl(L"STATIC", LOOMKEYS_COPYRIGHT, SS_NOPREFIX | SS_NOTIFY, kCopyrightLabelId);
    WidenToText(Item(kCopyrightLabelId));
    HWND ok = AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, kAboutOkButtonId);
    SendMessageW(Handle(), DM_SETDEFID, IDOK, 0);
    SetFocus(ok);
  }

  // The logo is drawn into its control's new size as it is repainted.
  void DpiChanged() override {
    SetProductFont();
    WidenToText(Item(kCopyrightLabelId));
  }

  void FormDestroy() override {
    if (logo_) DeleteObject(logo_);
    logo_ = nullptr;
  }

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    switch (message) {
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
          case IDCANCEL:  // Esc and the close box
            EndModal(IDOK);
            return true;
          case kProductLabelId:
            if (HIWORD(wParam) == STN_CLICKED) Open(LOOMKEYS_HOME_PAGE);
            return true;
          case kCopyrightLabelId:
            if (HIWORD(wParam) == STN_CLICKED) Open(std::wstring(L"mailto:") + LOOMKEYS_SUPPORT_EMAIL);
            return true;
        }
        return false;
      case WM_SETCURSOR: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        if (id != kProductLabelId && id != kCopyrightLabelId) return false;
        // IDC_HAND: the header's macro is typed for the ANSI function.
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
        result = TRUE;
        return true;
      }
      case WM_DRAWITEM:
        if (wParam != kLogoId) return false;
        DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
  }

 private:
  // The product name in the icon-title font of the form's DPI, bold; the
  // label takes the new font before the old one goes.
  void SetProductFont() {
    DialogFont font;
    SetIconTitleFont(font, Dpi());
    SetBoldOnly(font);
    SendMessageW(Item(kProductLabelId), WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), FALSE);
    productFont_.Swap(font);
  }

  // The copyright line is set at build time: a longer one than the layout
  // allows for may use the room up to the frame.
  void WidenToText(HWND label) {
    RECT place;
    GetWindowRect(label, &place);
    const int width = std::min(std::max<int>(place.right - place.left, TextWidth(label, LOOMKEYS_COPYRIGHT)),
                               Scale(8 + 337 - 8 - 72));
    SetWindowPos(label, nullptr, 0, 0, width, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER);
  }

  // Centred in its place and stretched proportionally, fuchsia left out.
  void DrawLogo(const DRAWITEMSTRUCT& item) {
    const RECT& box = item.rcItem;
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP bitmap = {};
    if (!logo_ || !GetObjectW(logo_, sizeof bitmap, &bitmap) || bitmap.bmWidth <= 0 || bitmap.bmHeight <= 0) return;
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    const int width = std::min(boxWidth, MulDiv(boxHeight, bitmap.bmWidth, bitmap.bmHeight));
    const int height = MulDiv(width, bitmap.bmHeight, bitmap.bmWidth);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, logo_);
    GdiTransparentBlt(item.hDC, box.left + (boxWidth - width) / 2, box.top + (boxHeight - height) / 2, width, height,
                      source, 0, 0, bitmap.bmWidth, bitmap.bmHeight, kLogoTransparent);
    SelectObject(source, old);
    DeleteDC(source);
  }

  // Whether a browser or mail program starts is not reported: the box just
  // stays open.
  static void Open(const std::wstring& target) {
    ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }

  DialogFont productFont_;
  HBITMAP logo_ = nullptr;
};

}  // namespace

void ShowAboutForm(HWND owner) noexcept {
  try {
    AboutForm form;
    form.ShowModal(owner);
  } catch (...) {
    // Out of memory: there is no box to show, and nothing to report to.
  }
}

}  // namespace loomkeys
