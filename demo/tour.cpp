#include "tour.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "customize/hotkey_flags.h"
#include "dialog_driver.h"
#include "key_names.h"
#include "sample_addin.h"
#include "standin_windows.h"
#include "transcript.h"
#include "win32/box_watcher.h"
#include "win32/key_input.h"
#include "win32/screenshot.h"
#include "win32/user_input.h"

namespace {

constexpr DWORD kPatience = 5000;  // how long a step waits for its effect before it counts as failed

TourSetup tour;
HANDLE tourThread = nullptr;
int succeeded = 0;
int failed = 0;

bool Step(bool ok, const std::wstring& what) {
  transcript::Line((ok ? L"[ok]     " : L"[FAILED] ") + what);
  ++(ok ? succeeded : failed);
  return ok;
}

void Heading(const std::wstring& text) { transcript::Line(L"\n== " + text); }

bool WaitFor(const std::function<bool()>& done) { return user_input::WaitUntil(done, kPatience); }

size_t CommandIndex(const char* context) {
  for (size_t i = 0; i < kSampleCommandCount; ++i) {
    if (std::string(kSampleCommands[i].context) == context) return i;
  }
  return 0;
}

const size_t kStickyNote = CommandIndex("sticky-note");
const size_t kInsertDate = CommandIndex("insert-date");
const size_t kShowTimer = CommandIndex("show-timer");
const size_t kLaserPointer = CommandIndex("laser-pointer");

// A menu item's command, as a click on it sends it.
void ChooseMenu(UINT command) { PostMessageW(tour.windows->Frame(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

// Waits until the window is in front, and then for a few of the library's
// 50 ms ticks, which make live the keys that suit the window in front.
bool WaitInFront(HWND window) {
  const bool inFront = WaitFor([window] { return window && GetForegroundWindow() == window; });
  Sleep(250);
  return inFront;
}

std::wstring KeyOf(size_t command) {
  const SampleAddin::Assignment now = tour.addin->AssignmentOf(kSampleCommands[command]);
  return KeyName(now.virtualKey, now.shiftKeys);
}

void Press(size_t command) {
  const SampleAddin::Assignment now = tour.addin->AssignmentOf(kSampleCommands[command]);
  key_input::PressChord(now.shiftKeys, now.virtualKey);
}

// Presses a command's key and expects its callback to run.
void PressExpectingCallback(size_t command, const std::wstring& where) {
  const int before = tour.addin->FiredCount(command);
  Press(command);
  const bool fired = WaitFor([&] { return tour.addin->FiredCount(command) > before; });
  Step(fired, where + L": " + KeyOf(command) + L" runs " + kSampleCommands[command].name);
}

// Presses a command's key where it is not live: the window in front gets it
// as an ordinary key press and no callback runs.
void PressExpectingOrdinaryKey(size_t command, KeyArrivals& keys, const std::wstring& where) {
  const SampleAddin::Assignment now = tour.addin->AssignmentOf(kSampleCommands[command]);
  const int firedBefore = tour.addin->FiredCount(command);
  const int keysBefore = keys.count;
  Press(command);
  const bool arrived = WaitFor([&] { return keys.count > keysBefore; }) && keys.lastKey == now.virtualKey;
  Step(arrived && tour.addin->FiredCount(command) == firedBefore,
       where + L": " + KeyOf(command) + L" (" + kSampleCommands[command].name + L", " + ModeName(now.activeMode) +
           L" only) is not live; the window gets it as an ordinary key");
}

void Screenshot(HWND window, const std::wstring& name, const std::wstring& what) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(150);  // let the dialog's own 50 ms timer update its labels
  Step(screenshot::Save(window, tour.outputFolder + L"\\" + name + L".bmp"), L"Screenshot of " + what + L": " + name);
}

// The Customize Shortcuts dialog as the user sees it after choosing the menu
// item, with a command selected.
struct OpenDialog {
  HWND dialog = nullptr;
  HWND hotKey = nullptr;
  HWND commands = nullptr;
};

OpenDialog OpenCustomizeAt(size_t command) {
  OpenDialog open;
  ChooseMenu(kMenuCustomize);
  open.dialog = box_watcher::WaitForDialog(L"Customize Shortcuts", kPatience);
  Step(open.dialog && WaitInFront(open.dialog), L"Add-ins > Customize Shortcuts... opens the dialog");
  if (!open.dialog) return open;
  const std::vector<HWND> lists = user_input::ChildWindows(open.dialog, L"ListBox");
  const std::vector<HWND> hotKeys = user_input::ChildWindows(open.dialog, HOTKEY_CLASSW);
  if (lists.size() != 2 || hotKeys.size() != 1) {
    Step(false, L"The dialog has a categories list, a commands list and a key field");
    return open;
  }
  open.commands = lists[1];
  open.hotKey = hotKeys[0];
  const SampleCommand& target = kSampleCommands[command];
  Step(dialog_driver::SelectListItem(open.dialog, lists[0], target.category) &&
           dialog_driver::SelectListItem(open.dialog, open.commands, target.name),
       std::wstring(L"Select ") + target.category + L" > " + target.name + L" in the dialog's lists");
  return open;
}

// Focuses the key field and types a key into it, as the user does.
bool TypeKey(const OpenDialog& open, uint16_t virtualKey, uint16_t shiftKeys) {
  dialog_driver::Focus(open.dialog, open.hotKey);
  if (!WaitFor([&] { return dialog_driver::FocusedControl(open.dialog) == open.hotKey; })) return false;
  key_input::PressChord(shiftKeys, virtualKey);
  // The key field's value, in the hot-key control's flags, as the library reads it.
  const WORD wanted =
      loomkeys::HotKeyValue(static_cast<uint8_t>(virtualKey), loomkeys::HotKeyFlagsFromShiftKeys(shiftKeys));
  return WaitFor([&] { return LOWORD(SendMessageW(open.hotKey, HKM_GETHOTKEY, 0, 0)) == wanted; });
}

void AssignKeyInTheDialog() {
  Heading(L"Customize Shortcuts: give Insert Date a key");
  const int outcomes = tour.addin->DialogOutcomes();
  const OpenDialog open = OpenCustomizeAt(kInsertDate);
  if (!open.hotKey) return;
  Screenshot(open.dialog, L"03-customize-dialog", L"the Customize Shortcuts dialog");

  Step(TypeKey(open, 'B', LOOMKEYS_MOD_CONTROL), L"Type Ctrl+B into the key field");
  std::wstring notice;
  WaitFor([&] {
    return !(notice = dialog_driver::StaticTextStartingWith(open.dialog, L"Defined by PowerPoint to ")).empty();
  });
  Step(!notice.empty(), L"The dialog says what PowerPoint does with Ctrl+B: \"" + notice + L"\"");
  Screenshot(open.dialog, L"04-customize-powerpoint-key", L"the dialog naming PowerPoint's own use of Ctrl+B");

  constexpr uint16_t kCtrlShift = LOOMKEYS_MOD_CONTROL | LOOMKEYS_MOD_SHIFT;
  Step(TypeKey(open, 'Y', kCtrlShift), L"Type Ctrl+Shift+Y into the key field instead");
  dialog_driver::Focus(open.dialog, open.commands);  // leaving the field stores the key
  Screenshot(open.dialog, L"05-customize-key-assigned", L"the dialog with Ctrl+Shift+Y for Insert Date");
  dialog_driver::PressButton(open.dialog, IDOK);
  Step(user_input::WaitUntilClosed(open.dialog, kPatience), L"OK closes the dialog");

  const bool told = WaitFor([&] { return tour.addin->DialogOutcomes() > outcomes; });
  const SampleAddin::Assignment now = tour.addin->AssignmentOf(kSampleCommands[kInsertDate]);
  Step(told && !tour.addin->LastDialogCancelled() && now.assigned && now.virtualKey == 'Y' &&
           now.shiftKeys == kCtrlShift && now.activeMode == LOOMKEYS_MODE_SLIDE_DESIGN,
       L"OnDestroyUI read Ctrl+Shift+Y (slide design) back and registered it for Insert Date");
  WaitInFront(tour.windows->Frame());
  PressExpectingCallback(kInsertDate, L"Slide design");
}

void CancelTheDialog() {
  Heading(L"Customize Shortcuts again: change a key, then Cancel");
  const int outcomes = tour.addin->DialogOutcomes();
  const OpenDialog open = OpenCustomizeAt(kInsertDate);
  if (!open.hotKey) return;
  Step(TypeKey(open, 'N', LOOMKEYS_MOD_CONTROL | LOOMKEYS_MOD_SHIFT), L"Type Ctrl+Shift+N into the key field");
  dialog_driver::Focus(open.dialog, open.commands);
  dialog_driver::PressButton(open.dialog, IDCANCEL);
  Step(user_input::WaitUntilClosed(open.dialog, kPatience), L"Cancel closes the dialog");
  const bool told = WaitFor([&] { return tour.addin->DialogOutcomes() > outcomes; });
  const SampleAddin::Assignment now = tour.addin->AssignmentOf(kSampleCommands[kInsertDate]);
  Step(told && tour.addin->LastDialogCancelled() && now.virtualKey == 'Y',
       L"OnDestroyUI was told the dialog was cancelled; Insert Date keeps Ctrl+Shift+Y");
  WaitInFront(tour.windows->Frame());
}

void AboutBox() {
  Heading(L"About box");
  ChooseMenu(kMenuAbout);
  HWND about = box_watcher::WaitForDialog(L"About", kPatience);
  Step(about != nullptr, L"Add-ins > About Loomkeys... shows the About box");
  if (!about) return;
  Screenshot(about, L"06-about-box", L"the About box");
  dialog_driver::PressButton(about, IDOK);
  Step(user_input::WaitUntilClosed(about, kPatience), L"OK closes the About box");
  WaitInFront(tour.windows->Frame());
}

void DesignMode() {
  Heading(L"Slide design: the editing window (PPTFrameClass) is in front");
  Step(WaitInFront(tour.windows->Frame()), L"The stand-in's editing window is in front");
  Screenshot(tour.windows->Frame(), L"01-stand-in", L"the stand-in's editing window");
  PressExpectingCallback(kStickyNote, L"Slide design");
  PressExpectingCallback(kShowTimer, L"Slide design");
  PressExpectingOrdinaryKey(kLaserPointer, tour.windows->FrameKeys(), L"Slide design");
}

void SlideShow() {
  Heading(L"Slide show: a window of class screenClass is in front");
  ChooseMenu(kMenuStartSlideShow);
  const bool shown = WaitFor([] { return tour.windows->SlideShow() != nullptr; });
  Step(shown && WaitInFront(tour.windows->SlideShow()), L"Slide Show > Start Slide Show puts the show in front");
  if (!shown) return;
  PressExpectingCallback(kLaserPointer, L"Slide show");
  PressExpectingCallback(kShowTimer, L"Slide show");
  PressExpectingOrdinaryKey(kStickyNote, tour.windows->SlideShowKeys(), L"Slide show");
  Screenshot(tour.windows->SlideShow(), L"02-slide-show", L"the slide show");
  key_input::PressChord(0, VK_ESCAPE);
  Step(WaitFor([] { return tour.windows->SlideShow() == nullptr; }) && WaitInFront(tour.windows->Frame()),
       L"Esc ends the show; the editing window is in front again");
}

void SaveAndReload() {
  Heading(L"Saving and restoring the shortcuts (GetNamespaceData2, LoadNamespace2)");
  const uint32_t count = tour.addin->ShortcutCount();
  const int saves = tour.addin->Saves();
  ChooseMenu(kMenuSaveShortcuts);
  Step(WaitFor([&] { return tour.addin->Saves() > saves; }),
       L"File > Save Shortcuts writes the namespace's blob text to " + tour.outputFolder + L"\\LoomkeysDemo.keys");
  const int reloads = tour.addin->Reloads();
  ChooseMenu(kMenuReloadShortcuts);
  Step(WaitFor([&] { return tour.addin->Reloads() > reloads; }) && tour.addin->ShortcutCount() == count,
       L"File > Reload Saved Shortcuts unloads the namespace and loads the blob: " + std::to_wstring(count) +
           L" shortcuts again");
  const SampleAddin::Assignment date = tour.addin->AssignmentOf(kSampleCommands[kInsertDate]);
  const SampleAddin::Assignment laser = tour.addin->AssignmentOf(kSampleCommands[kLaserPointer]);
  Step(date.virtualKey == 'Y' && date.activeMode == LOOMKEYS_MODE_SLIDE_DESIGN &&
           laser.activeMode == LOOMKEYS_MODE_SLIDE_SHOW,
       L"The reloaded shortcuts keep their keys and active modes");
  WaitInFront(tour.windows->Frame());
  PressExpectingCallback(kInsertDate, L"Slide design, after the reload");
}

DWORD WINAPI RunTour(void*) {
  transcript::Line(L"Tour of the PowerPoint stand-in: screenshots go to " + tour.outputFolder);
  DesignMode();
  SlideShow();
  AssignKeyInTheDialog();
  CancelTheDialog();
  AboutBox();
  SaveAndReload();
  Heading(L"End");
  transcript::Line(L"Tour: " + std::to_wstring(succeeded) + L" steps succeeded, " + std::to_wstring(failed) +
                   L" failed. File > Exit saves the shortcuts and unloads Loomkeys.dll.");
  ChooseMenu(kMenuExit);
  return failed == 0 ? 0 : 1;
}

}  // namespace

void StartTour(const TourSetup& setup) {
  tour = setup;
  tourThread = CreateThread(nullptr, 0, RunTour, nullptr, 0, nullptr);
}

int WaitForTour() {
  if (!tourThread) return 1;
  WaitForSingleObject(tourThread, INFINITE);
  DWORD result = 1;
  GetExitCodeThread(tourThread, &result);
  CloseHandle(tourThread);
  return static_cast<int>(result);
}
