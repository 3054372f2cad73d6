#include "win32/modal_form.h"

#include <cstddef>
#include <stdexcept>

#include "win32/font_dc.h"
#include "win32/library_instance.h"
#include "win32/module_hold.h"
#include "win32/window_dpi.h"
#include "win32/window_text.h"

namespace loomkeys {
namespace {

constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kFrameExStyle = WS_EX_DLGMODALFRAME;

// An empty dialog template: no controls, no font (the form sets its own),
// the size set later. DLGTEMPLATE is followed by three empty arrays: menu,
// class and title.
struct EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0, windowClass = 0, title = 0;
};
static_assert(offsetof(EmptyTemplate, menu) == 18, "the arrays follow the header directly");

// The frame around a client area at `dpi`: its caption and borders have the
// sizes of that DPI where Windows can say (Windows 10 version 1607 on).
void AdjustFrame(RECT& frame, int dpi) {
  using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = User32Function<ForDpi>("AdjustWindowRectExForDpi");
  if (forDpi) {
    forDpi(&frame, kFrameStyle, FALSE, kFrameExStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&frame, kFrameStyle, FALSE, kFrameExStyle);
  }
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

}  // namespace

void ThreadWindowsDisabler::DisableAllBut(HWND owner) {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows));
  const HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  for (HWND window : windows) {
    if (window == ownerRoot) continue;
    EnableWindow(window, FALSE);
    disabled_.push_back(window);
  }
}

void ThreadWindowsDisabler::Restore() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabled_.clear();
}

ModalForm::ModalForm(std::wstring caption, const DialogLayout& layout)
    : caption_(std::move(caption)), layout_(layout) {}

INT_PTR ModalForm::ShowModal(HWND owner) {
  const ModuleHold hold;  // the dialog's message loop runs presses, whose callbacks may unload the library
  owner_ = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  ending_ = false;
  created_ = false;
  EmptyTemplate dialogTemplate = {};
  dialogTemplate.header.style = kFrameStyle;
  dialogTemplate.header.dwExtendedStyle = kFrameExStyle;
  disabler_.DisableAllBut(owner_);
  const INT_PTR result = DialogBoxIndirectParamW(LibraryInstance(), &dialogTemplate.header, owner_, DialogProc,
                                                 reinterpret_cast<LPARAM>(this));
  disabler_.Restore();
  window_ = nullptr;
  return result;
}

void ModalForm::EndModal(INT_PTR result) {
  if (ending_) return;
  ending_ = true;
  disabler_.Restore();
  EndDialog(window_, result);
}

INT_PTR CALLBACK ModalForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing thrown may reach the dialog manager: a form that cannot be built
  // ends at once with -1, and a message whose handler fails counts as unhandled.
  if (message == WM_INITDIALOG) {
    auto* form = reinterpret_cast<ModalForm*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    form->window_ = window;
    try {
      SetWindowTextW(window, form->caption_.c_str());
      form->dpi_ = WindowDpi(window);
      SetIconTitleFont(form->font_, form->dpi_);
      form->PlaceFrame(form->owner_);
      form->FormCreate();
      form->created_ = true;
    } catch (...) {
      form->EndModal(-1);
    }
    return FALSE;  // FormCreate has put the focus where it belongs
  }
  auto* form = reinterpret_cast<ModalForm*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!form) return FALSE;
  INT_PTR result = FALSE;
  try {
    if (message == WM_DESTROY) {
      form->FormDestroy();
      return FALSE;
    }
    if (message == WM_DPICHANGED) {
      form->ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    if (!form->HandleMessage(message, wParam, lParam, result)) return FALSE;
  } catch (...) {
    return FALSE;
  }
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return result;  // these answer with the brush itself
    default:
      // Other messages answer through DWLP_MSGRESULT.
      SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

void ModalForm::PlaceFrame(HWND owner) {
  RECT frame = {0, 0, Scale(layout_.clientWidth), Scale(layout_.clientHeight)};
  AdjustFrame(frame, dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  HMONITOR handle = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(handle, &monitor)) area = monitor.rcWork;
  // Centred; a form larger than the screen keeps its caption on it.
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ModalForm::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int id, DWORD exStyle) {
  const ControlPlace* place = FindPlace(layout_, id);
  if (!place) throw std::logic_error("a control without a place in the layout");
  const LayoutRect at = ScaleToDpi(place->at96, dpi_);
  HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                 at.width, at.height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 LibraryInstance(), nullptr);
  if (control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    // New children go to the bottom of the z-order, which is the order in
    // which the dialog manager tabs through them.
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (place->FitsText()) FitToText(control);
  }
  return control;
}

// Everything is made again from the layout at the new DPI, never scaled from
// the last placement, so that a change back gives exactly the first layout.
void ModalForm::ChangeDpi(int dpi, const RECT& suggestedFrame) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  DialogFont font;
  SetIconTitleFont(font, dpi_);
  // The controls in the form font take the new one before the old one goes.
  const HFONT old = font_.Handle();
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == old) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), FALSE);
    }
  }
  font_.Swap(font);
  PlaceControls();
  // Windows asks for the rectangle it suggests, which keeps the frame under
  // the mouse while it is dragged between monitors.
  SetWindowPos(window_, nullptr, suggestedFrame.left, suggestedFrame.top, suggestedFrame.right - suggestedFrame.left,
               suggestedFrame.bottom - suggestedFrame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Placing the frame may move it to a monitor of another DPI before the
  // controls exist; they are then made at the new DPI in the first place.
  if (created_) DpiChanged();
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void ModalForm::PlaceControls() {
  for (const PlacedControl& control : LayoutAt(layout_, dpi_)) {
    HWND window = Item(control.id);
    if (!window) continue;
    const LayoutRect& at = control.place;
    SetWindowPos(window, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.fitsText) FitToText(window);
  }
}

void ModalForm::SetLabelText(HWND label, const std::wstring& text) {
  SetWindowTextW(label, text.c_str());
  FitToText(label);
}

void ModalForm::NameAfterLabel(HWND control) {
  const std::wstring caption = WindowText(GetWindow(control, GW_HWNDPREV));
  std::wstring name;
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&x" shows x underlined, "&&" shows one "&".
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    name += caption[i];
  }
  SetWindowTextW(control, name.c_str());
}

void ModalForm::FitToText(HWND label) {
  if (!label) return;
  const std::wstring text = WindowText(label);
  RECT bounds = {0, 0, 0, 0};
  const UINT prefix = (GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  DrawTextW(FontDC(label).Handle(), text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE | prefix);
  SetWindowPos(label, nullptr, 0, 0, bounds.right, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ModalForm::TextWidth(HWND control, const std::wstring& text) {
  SIZE size = {};
  GetTextExtentPoint32W(FontDC(control).Handle(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace loomkeys
