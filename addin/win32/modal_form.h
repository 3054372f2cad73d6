#pragma once
// A modal dialog box laid out in pixels at 96 dots per inch and scaled to the
// screen's resolution. It is run from an empty in-memory template, so that
// the dialog manager still gives it tabbing, access keys, default and cancel
// buttons, and its controls are made in WM_INITDIALOG at their scaled places.
#include <windows.h>

#include <string>
#include <vector>

#include "win32/dialog_font.h"

namespace loomkeys {

// Disables the thread's visible top-level windows for the time a modal form
// is open, except its owner, which the dialog manager disables itself.
class ThreadWindowsDisabler {
 public:
  void DisableAllBut(HWND owner);
  // Enables again exactly the windows it disabled.
  void Restore();
  ~ThreadWindowsDisabler() { Restore(); }

 private:
  std::vector<HWND> disabled_;
};

// A control's place in 96-DPI pixels.
struct PixelRect {
  int left, top, width, height;
};

class ModalForm {
 public:
  virtual ~ModalForm() = default;
  ModalForm(const ModalForm&) = delete;
  ModalForm& operator=(const ModalForm&) = delete;

  // Shows the form over `owner` (may be null) and returns its modal result
  // once it has closed; -1 when it could not be shown. While it is open, the
  // owner and the thread's other windows take no input.
  INT_PTR ShowModal(HWND owner);

 protected:
  // A fixed dialog frame with a close box, `clientWidth` x `clientHeight`
  // at 96 DPI, centred on the screen.
  ModalForm(std::wstring caption, int clientWidth, int clientHeight);

  // Creates the controls and puts the focus on the first one; the form
  // font is already set.
  virtual void FormCreate() = 0;
  // A message for the dialog procedure; true when handled, with `result`
  // as the procedure's answer.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;
  // Called as the form is destroyed, while its controls still exist.
  virtual void FormDestroy() {}

  // Ends the modal run with `result`. The thread's windows are enabled
  // again first, so that Windows can give the activation back to them.
  void EndModal(INT_PTR result);
  bool Ending() const { return ending_; }

  HWND Handle() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  DialogFont& FormFont() { return font_; }

  // A control at its 96-DPI place, in the form font. Controls are created
  // in tab order: each one goes behind the ones made before it.
  HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, PixelRect place, int id,
                  DWORD exStyle = 0);
  // A label that takes the size of its text.
  HWND AddLabel(const std::wstring& text, DWORD style, int left, int top, int id = -1);
  // Sets a label's text and resizes it to fit.
  void SetLabelText(HWND label, const std::wstring& text);
  // The width of `text` in the font of `control`, in screen pixels.
  static int TextWidth(HWND control, const std::wstring& text);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PlaceFrame(HWND owner);
  void FitToText(HWND label);

  std::wstring caption_;
  int clientWidth_;
  int clientHeight_;
  int dpi_ = 96;
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  bool ending_ = false;
  DialogFont font_;
  ThreadWindowsDisabler disabler_;
};

}  // namespace loomkeys
