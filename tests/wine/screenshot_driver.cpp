// Shows one of the library's dialogs through the real Loomkeys.dll, as an
// add-in would, and saves a picture of it once it is drawn:
//   screenshot_driver customize|about|customize-moved-to-144dpi|customize-key-held-twice FILE.bmp
// tools/screenshots.sh runs it at 96 and 144 DPI for the README. The third
// sends the dialog what Windows sends when it is dragged to a monitor at
// 144 DPI; the fourth puts a key that another command holds into the key field.
#include <windows.h>
#include <oleauto.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "customize_dialog_ids.h"
#include "loomkeys_dll.h"
#include "win32/box_watcher.h"
#include "win32/screenshot.h"

namespace {

// A provider with a few commands, one of them on Ctrl+B, which PowerPoint
// uses too, so that the dialog shows its notice.
void LOOMKEYS_CALL OnCreateUI(TUIDataHandle* slot) {
  const auto& dll = loomkeys_dll::Exports();
  TUIDataHandle tree = dll.CreateUIData();
  dll.AddCommand2(tree, L"Text", L"Bold heading", L"Makes the selected heading bold & larger.", 'B', MOD_CONTROL,
                  LOOMKEYS_MODE_ALL);
  dll.AddCommand2(tree, L"Text", L"Small caps", L"Sets the selected text in small capitals.", 0, 0, 1);
  dll.AddCommand2(tree, L"Text", L"Highlight the selected words in yellow", L"", 'H', MOD_CONTROL | MOD_ALT, 1);
  dll.AddCommand2(tree, L"Slides", L"Duplicate slide", L"Inserts a copy of the current slide after it.", 'D',
                  MOD_CONTROL | MOD_SHIFT, 1);
  dll.AddCommand2(tree, L"Slide Show", L"Black screen", L"Blanks the show until a key is pressed.", 0, 0, 2);
  *slot = tree;
}

void LOOMKEYS_CALL OnDestroyUI(TUIDataHandle tree, uint16_t) { loomkeys_dll::Exports().DestroyUIData(tree); }

struct Job {
  const wchar_t* caption;
  const wchar_t* path;
  int closeWith;
  int movedToDpi = 0;   // WM_DPICHANGED to this DPI first, when not 0
  WORD keyInField = 0;  // HKM_SETHOTKEY first, when not 0
  bool saved = false;
};

// What Windows sends when the dialog reaches a monitor of `dpi`, from one at
// the screen's DPI: a frame that grows with the DPI, here about the same centre.
void MoveToDpi(HWND dialog, int dpi) {
  RECT frame;
  GetWindowRect(dialog, &frame);
  HDC screen = GetDC(nullptr);
  const int from = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int width = MulDiv(frame.right - frame.left, dpi, from);
  const int height = MulDiv(frame.bottom - frame.top, dpi, from);
  const POINT centre = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
  RECT suggested = {centre.x - width / 2, centre.y - height / 2, centre.x - width / 2 + width,
                    centre.y - height / 2 + height};
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

DWORD WINAPI Photograph(LPVOID parameter) {
  Job& job = *static_cast<Job*>(parameter);
  HWND dialog = box_watcher::WaitForDialog(job.caption, 10000);
  if (!dialog) return 0;
  SetForegroundWindow(dialog);
  // The focus in the commands list, as after a click on a command. (In the
  // Find field, Wine would show a stray caret: its hot-key control moves the
  // thread's caret whenever it paints.)
  HWND commands = GetDlgItem(dialog, kCommandsListBoxId);
  if (commands) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(commands), TRUE);
  if (job.movedToDpi) MoveToDpi(dialog, job.movedToDpi);
  if (job.keyInField) SendDlgItemMessageW(dialog, kAssignedHotKeyId, HKM_SETHOTKEY, job.keyInField, 0);
  Sleep(500);  // the first timer ticks and the paint
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(200);
  job.saved = screenshot::Save(dialog, job.path);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(job.closeWith, BN_CLICKED), 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring kind = argc == 3 ? argv[1] : L"";
  const bool about = kind == L"about";
  if (!about && kind != L"customize" && kind != L"customize-moved-to-144dpi" && kind != L"customize-key-held-twice") {
    std::printf(
        "usage: screenshot_driver customize|about|customize-moved-to-144dpi|customize-key-held-twice FILE.bmp\n");
    return 2;
  }
  const auto& dll = loomkeys_dll::Load();
  Job job{about ? L"About" : L"Customize Shortcuts", argv[2], about ? IDOK : IDCANCEL};
  if (kind == L"customize-moved-to-144dpi") job.movedToDpi = 144;
  // Duplicate slide's key, while Bold heading is selected.
  if (kind == L"customize-key-held-twice") job.keyInField = MAKEWORD('D', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
  HANDLE photographer = CreateThread(nullptr, 0, Photograph, &job, 0, nullptr);
  if (!about) {
    TUIProviderNative provider = {LOOMKEYS_PROVIDER_NATIVE, OnCreateUI, OnDestroyUI};
    TUIProviderHandle handle = nullptr;
    dll.RegisterUIProvider(reinterpret_cast<const TUIProvider*>(&provider), &handle);
    VARIANT noApplication;  // the provider has no macros
    VariantInit(&noApplication);
    dll.ShowCustomizeShortcutsUI(&noApplication);
  } else {
    dll.ShowAboutBox();
  }
  WaitForSingleObject(photographer, INFINITE);
  std::printf(job.saved ? "saved %ls\n" : "could not save %ls\n", job.path);
  return job.saved ? 0 : 1;
}
