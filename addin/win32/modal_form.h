#pragma once
// A modal dialog box laid out in pixels at 96 dots per inch and placed at the
// DPI of its window. It is run from an empty in-memory template, so that the
// dialog manager still gives it tabbing, access keys, default and cancel
// buttons, and its controls are made in WM_INITDIALOG at their scaled places.
// When Windows moves it to a monitor of another DPI (WM_DPICHANGED), its
// controls are placed again from the layout and its fonts made again.
#include <windows.h>

#include <string>
#include <vector>

#include "customize/dialog_layout.h"
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
  // A fixed dialog frame with a close box, of the layout's client size,
  // centred on the screen.
  ModalForm(std::wstring caption, const DialogLayout& layout);

  // Creates the controls and puts the focus on the first one; the form
  // font is already set.
  virtual void FormCreate() = 0;
  // A message for the dialog procedure; true when handled, with `result`
  // as the procedure's answer.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;
  // Called as the form is destroyed, while its controls still exist.
  virtual void FormDestroy() {}
  // After the controls were placed at a new DPI in the new form font:
  // whatever else depends on the DPI or is measured in a font.
  virtual void DpiChanged() {}

  // Ends the modal run with `result`. The thread's windows are enabled
  // again first, so that Windows can give the activation back to them.
  void EndModal(INT_PTR result);
  bool Ending() const { return ending_; }

  HWND Handle() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  int Dpi() const { return dpi_; }
  int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
  DialogFont& FormFont() { return font_; }

  // The control `id` at its place in the layout, in the form font; a label
  // without a size there takes the size of its text. Controls are created in
  // window order, which is the tab order: each one goes behind the ones made
  // before it.
  HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int id, DWORD exStyle = 0);
  // Sets a label's text and resizes it to fit.
  void SetLabelText(HWND label, const std::wstring& text);
  // Gives a control that shows no text of its own (a list, a hot-key
  // control) the text of the label just before it, without the access-key
  // "&", as its window text. Windows's screen-reader interface names such a
  // control by that label; others (Wine's) read the window text instead.
  static void NameAfterLabel(HWND control);
  // The width of `text` in the font of `control`, in screen pixels.
  static int TextWidth(HWND control, const std::wstring& text);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PlaceFrame(HWND owner);
  void ChangeDpi(int dpi, const RECT& suggestedFrame);
  void PlaceControls();
  void FitToText(HWND label);

  std::wstring caption_;
  const DialogLayout& layout_;
  int dpi_ = 96;
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  bool ending_ = false;
  bool created_ = false;  // FormCreate has made the controls
  DialogFont font_;
  ThreadWindowsDisabler disabler_;
};

}  // namespace loomkeys
