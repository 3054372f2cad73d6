// The library's dialogs on a monitor of another DPI and for a screen reader,
// through the real Loomkeys.dll. Wine gives every window the system DPI and
// never sends WM_DPICHANGED, so a watcher thread sends it as Windows would
// when a dialog of a per-monitor-aware thread moves to another monitor, and
// measures the controls, their fonts and what the fonts measure. The names
// that a screen reader reads come from oleacc, as it asks them.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "about_box_ids.h"
#include "customize_dialog_ids.h"
#include "loomkeys_dll.h"
#include "win32/box_watcher.h"
#include "win32/key_input.h"
#include "win32/user_input.h"
#include "wine_check.h"

namespace {

using user_input::WaitUntil;

void LOOMKEYS_CALL OnCreateUI(TUIDataHandle* slot) {
  const auto& dll = loomkeys_dll::Exports();
  TUIDataHandle tree = dll.CreateUIData();
  dll.AddCommand2(tree, L"Text", L"Bold heading", L"Makes the heading bold.", 'B', MOD_CONTROL, 3);
  dll.AddCommand2(tree, L"Text", L"Highlight the selected words in yellow", L"", 0, 0, 3);
  dll.AddCommand2(tree, L"Slides with a rather long category name", L"Duplicate slide", L"", 0, 0, 1);
  *slot = tree;
}

void LOOMKEYS_CALL OnDestroyUI(TUIDataHandle tree, uint16_t) { loomkeys_dll::Exports().DestroyUIData(tree); }

// ---- Per-monitor DPI --------------------------------------------------------

// A control's place in the dialog's client area.
RECT ClientPlace(HWND dialog, HWND control) {
  RECT place = {};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)); }
LONG FontHeight(HWND control) {
  LOGFONTW font = {};
  GetObjectW(FontOf(control), sizeof font, &font);
  return font.lfHeight;
}

// What a dialog shows that depends on its DPI.
struct Snapshot {
  RECT frame = {};
  std::map<int, RECT> places;  // by control id
  std::map<int, LONG> fontHeights;
  std::map<int, LRESULT> listMeasures;  // LB_GETHORIZONTALEXTENT << 16 | LB_GETITEMHEIGHT

  bool operator==(const Snapshot& other) const {
    return EqualRect(&frame, &other.frame) && fontHeights == other.fontHeights && listMeasures == other.listMeasures &&
           SamePlaces(other);
  }
  bool SamePlaces(const Snapshot& other) const {
    if (places.size() != other.places.size()) return false;
    for (const auto& [id, place] : places) {
      if (!EqualRect(&place, &other.places.at(id))) return false;
    }
    return true;
  }
};

struct DialogUnderTest {
  const wchar_t* caption;
  std::vector<int> controls;      // every control of its layout
  std::vector<int> fontControls;  // whose font height is compared
  std::vector<int> lists;         // list boxes whose extent and item height are compared
  int closeWith;
};

Snapshot Take(HWND dialog, const DialogUnderTest& under) {
  Snapshot snapshot;
  GetWindowRect(dialog, &snapshot.frame);
  for (int id : under.controls) snapshot.places[id] = ClientPlace(dialog, GetDlgItem(dialog, id));
  for (int id : under.fontControls) snapshot.fontHeights[id] = FontHeight(GetDlgItem(dialog, id));
  for (int id : under.lists) {
    HWND list = GetDlgItem(dialog, id);
    snapshot.listMeasures[id] =
        SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) << 16 | SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  }
  return snapshot;
}

// Sends what Windows sends when the dialog reaches a monitor of `dpi`, with
// `frame` as the suggested rectangle.
void ChangeDpi(HWND dialog, int dpi, RECT frame) {
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
}

RECT Doubled(const RECT& frame) {
  return {frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
          frame.top + 2 * (frame.bottom - frame.top)};
}

bool Near(LONG actual, LONG expected, LONG slack) { return std::labs(actual - expected) <= slack; }
// What is measured in a font twice as high is about twice as wide: glyphs
// are hinted to whole pixels at each size.
bool NearMeasure(LONG actual, LONG expected) { return Near(actual, expected, std::max<LONG>(4, expected / 20)); }

// Within rounding of twice the place at 96 DPI; the size of labels that fit
// their text as their text measures.
bool DoubledPlace(const RECT& at96, const RECT& at192) {
  return Near(at192.left, 2 * at96.left, 2) && Near(at192.top, 2 * at96.top, 2) &&
         NearMeasure(at192.right - at192.left, 2 * (at96.right - at96.left)) &&
         NearMeasure(at192.bottom - at192.top, 2 * (at96.bottom - at96.top));
}

// The pixels of a control that are not the dialog's face colour.
int DrawnPixels(HWND control) {
  RECT box;
  GetClientRect(control, &box);
  HDC dc = GetDC(control);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int drawn = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) drawn += GetPixel(dc, x, y) != face;
  }
  ReleaseDC(control, dc);
  return drawn;
}

void CheckDpiChanges(HWND dialog, const DialogUnderTest& under) {
  const Snapshot first = Take(dialog, under);

  wine_check::Section("WM_DPICHANGED to 192: the suggested frame, every control twice as large, fonts twice as high");
  ChangeDpi(dialog, 192, Doubled(first.frame));
  const Snapshot doubled = Take(dialog, under);
  const RECT suggested = Doubled(first.frame);
  CHECK(EqualRect(&doubled.frame, &suggested));
  for (int id : under.controls) {
    const RECT& a = first.places.at(id);
    const RECT& b = doubled.places.at(id);
    if (!DoubledPlace(a, b)) {
      std::printf("control %d: (%ld,%ld,%ld,%ld) at 96, (%ld,%ld,%ld,%ld) at 192\n", id, a.left, a.top, a.right,
                  a.bottom, b.left, b.top, b.right, b.bottom);
    }
    CHECK(DoubledPlace(a, b));
  }
  for (int id : under.fontControls) CHECK_EQ(doubled.fontHeights.at(id), 2 * first.fontHeights.at(id));
  for (int id : under.lists) {
    const LRESULT a = first.listMeasures.at(id), b = doubled.listMeasures.at(id);
    std::printf("list %d: extent %ld, item height %ld at 96 DPI; %ld, %ld at 192 DPI\n", id, static_cast<long>(a >> 16),
                static_cast<long>(a & 0xFFFF), static_cast<long>(b >> 16), static_cast<long>(b & 0xFFFF));
    CHECK(NearMeasure(static_cast<LONG>(b >> 16), 2 * static_cast<LONG>(a >> 16)));    // the horizontal extent
    CHECK(Near(static_cast<LONG>(b & 0xFFFF), 2 * static_cast<LONG>(a & 0xFFFF), 2));  // the item height
  }

  wine_check::Section("WM_DPICHANGED back to 96 gives exactly the first layout and fonts");
  ChangeDpi(dialog, 96, first.frame);
  CHECK(Take(dialog, under) == first);

  wine_check::Section("twenty changes free every font they replace");
  std::vector<HFONT> replaced;
  for (int change = 0; change < 20; ++change) {
    std::vector<HFONT> before;
    for (int id : under.fontControls) before.push_back(FontOf(GetDlgItem(dialog, id)));
    ChangeDpi(dialog, change % 2 == 0 ? 144 : 96, first.frame);
    for (HFONT font : before) replaced.push_back(font);
    for (int id : under.fontControls)
      CHECK_EQ(GetObjectType(FontOf(GetDlgItem(dialog, id))), static_cast<DWORD>(OBJ_FONT));
  }
  int alive = 0;
  for (HFONT font : replaced) alive += GetObjectType(font) != 0;
  CHECK_EQ(alive, 0);
  CHECK(Take(dialog, under) == first);
}

void CheckLogoScales(HWND about) {
  wine_check::Section("the About box's logo is drawn at the new scale");
  RECT frame;
  GetWindowRect(about, &frame);
  HWND logo = GetDlgItem(about, kLogoId);
  RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const int at96 = DrawnPixels(logo);
  ChangeDpi(about, 192, Doubled(frame));
  RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(100);
  const int at192 = DrawnPixels(logo);
  std::printf("logo pixels: %d at 96 DPI, %d at 192 DPI\n", at96, at192);
  CHECK(at96 > 100);
  CHECK(at192 > 3 * at96 && at192 < 5 * at96);
  ChangeDpi(about, 96, frame);
}

const DialogUnderTest kCustomize = {L"Customize Shortcuts",
                                    {kFindLabelId,
                                     kFilterEditId,
                                     kCategoryLabelId,
                                     kCategoryListBoxId,
                                     kCommandsLabelId,
                                     kCommandsListBoxId,
                                     kAssignedLabelId,
                                     kAssignedHotKeyId,
                                     kActiveDuringLabelId,
                                     kActiveSlideDesignCheckBoxId,
                                     kActiveSlideShowCheckBoxId,
                                     kOkButtonId,
                                     kCancelButtonId,
                                     kAboutButtonId,
                                     kFilterRadioGroupId,
                                     kFilterAllId,
                                     kFilterAssignedId,
                                     kFilterUnassignedId,
                                     kClearShortcutsButtonId,
                                     kCommandDescriptionGroupBoxId,
                                     kDescriptionLabelId,
                                     kPowerPointShortcutLabelId,
                                     kAlsoAssignedLabelId,
                                     kOverrideNoticeLabelId},
                                    {kOkButtonId, kFilterEditId, kCategoryListBoxId, kCommandsLabelId},
                                    {kCategoryListBoxId, kCommandsListBoxId},
                                    IDCANCEL};

const DialogUnderTest kAbout = {L"About",
                                {kLogoId, kFrameId, kLogoFrameId, kProductLabelId, kCopyrightLabelId, kAboutOkButtonId},
                                {kAboutOkButtonId, kProductLabelId, kCopyrightLabelId},
                                {},
                                IDOK};

// ---- Names for screen readers ------------------------------------------------

// IID_IAccessible of MinGW's oleacc import library is not the identifier
// itself (it reads an import thunk), so the identifier comes from the header.
std::wstring AccessibleName(HWND control) {
  IAccessible* accessible = nullptr;
  const HRESULT hr =
      AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
  if (FAILED(hr) || !accessible) return L"<no accessible object: " + std::to_wstring(hr) + L">";
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring text;
  if (SUCCEEDED(accessible->get_accName(self, &name)) && name) text = name;
  SysFreeString(name);
  accessible->Release();
  return text;
}

void CheckNames(HWND dialog) {
  wine_check::Section("every control that takes the focus has a name for screen readers");
  const struct {
    int id;
    const wchar_t* name;
  } kNames[] = {
      {kFilterEditId, L"Find:"},
      {kCategoryListBoxId, L"Categories:"},
      {kCommandsListBoxId, L"Commands:"},
      {kAssignedHotKeyId, L"Assigned shortcut to command:"},
      {kActiveSlideDesignCheckBoxId, L"Slide design"},
      {kActiveSlideShowCheckBoxId, L"Slide show"},
      {kOkButtonId, L"OK"},
      {kCancelButtonId, L"Cancel"},
      {kAboutButtonId, L"About..."},
      {kFilterAllId, L"All"},
      {kFilterAssignedId, L"Assigned"},
      {kFilterUnassignedId, L"Unassigned"},
      {kClearShortcutsButtonId, L"Clear All"},
  };
  for (const auto& expected : kNames) {
    const std::wstring name = AccessibleName(GetDlgItem(dialog, expected.id));
    if (name != expected.name) std::printf("control %d is named \"%ls\"\n", expected.id, name.c_str());
    CHECK(name == expected.name);
  }
}

void CheckFilteredListName(HWND dialog) {
  wine_check::Section("the commands list is named by its label's text also while the Find text filters it");
  HWND find = GetDlgItem(dialog, kFilterEditId);
  HWND commands = GetDlgItem(dialog, kCommandsListBoxId);
  SetWindowTextW(find, L"bold");  // EN_CHANGE refreshes the view
  CHECK(WaitUntil([&] { return AccessibleName(commands) == L"Commands (Filtered):"; }, 3000));
  SetWindowTextW(find, L"");
  CHECK(WaitUntil([&] { return AccessibleName(commands) == L"Commands:"; }, 3000));
}

void CheckTabOrder(HWND dialog) {
  wine_check::Section("the tab order is the order of the controls, labels left out");
  const int kOrder[] = {kFilterEditId,
                        kCategoryListBoxId,
                        kCommandsListBoxId,
                        kAssignedHotKeyId,
                        kActiveSlideDesignCheckBoxId,
                        kActiveSlideShowCheckBoxId,
                        kOkButtonId,
                        kCancelButtonId,
                        kAboutButtonId,
                        kFilterAllId,
                        kClearShortcutsButtonId,
                        kFilterEditId};
  HWND control = GetDlgItem(dialog, kOrder[0]);
  for (size_t i = 1; i < std::size(kOrder); ++i) {
    control = GetNextDlgTabItem(dialog, control, FALSE);
    CHECK_EQ(GetDlgCtrlID(control), kOrder[i]);
  }
}

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

void CheckLabelAccessKeys(HWND dialog) {
  wine_check::Section("the access key of a label moves the focus to its control");
  SetForegroundWindow(dialog);
  Sleep(100);
  const struct {
    WORD letter;
    int focused;
  } kKeys[] = {{'M', kCommandsListBoxId},
               {'T', kCategoryListBoxId},
               {'F', kFilterEditId},
               {'A', kAssignedHotKeyId}};  // last: the key field takes Alt+letters as keys
  for (const auto& key : kKeys) {
    key_input::PressChord(MOD_ALT, key.letter);
    HWND control = GetDlgItem(dialog, key.focused);
    CHECK(WaitUntil([&] { return FocusOf(dialog) == control; }, 3000));
  }
}

DWORD WINAPI DriveCustomize(LPVOID) {
  CoInitialize(nullptr);  // for oleacc
  HWND dialog = box_watcher::WaitForDialog(kCustomize.caption, 10000);
  CHECK(dialog != nullptr);
  if (!dialog) return 0;
  Sleep(200);
  CheckNames(dialog);
  CheckFilteredListName(dialog);
  CheckTabOrder(dialog);
  CheckLabelAccessKeys(dialog);
  CheckDpiChanges(dialog, kCustomize);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kCustomize.closeWith, BN_CLICKED), 0);
  CoUninitialize();
  return 0;
}

DWORD WINAPI DriveAbout(LPVOID) {
  HWND about = box_watcher::WaitForDialog(kAbout.caption, 10000);
  CHECK(about != nullptr);
  if (!about) return 0;
  Sleep(200);
  CheckDpiChanges(about, kAbout);
  CheckLogoScales(about);
  PostMessageW(about, WM_COMMAND, MAKEWPARAM(kAbout.closeWith, BN_CLICKED), 0);
  return 0;
}

void Run(LPTHREAD_START_ROUTINE driver, void (*show)()) {
  HANDLE thread = CreateThread(nullptr, 0, driver, nullptr, 0, nullptr);
  show();
  CHECK(WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0);
  CloseHandle(thread);
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  const auto& dll = loomkeys_dll::Load();
  TUIProviderNative provider = {LOOMKEYS_PROVIDER_NATIVE, OnCreateUI, OnDestroyUI};
  TUIProviderHandle handle = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(reinterpret_cast<const TUIProvider*>(&provider), &handle), LOOMKEYS_OK);
  Run(DriveCustomize, [] {
    VARIANT noApplication;  // the provider has no macros
    VariantInit(&noApplication);
    loomkeys_dll::Exports().ShowCustomizeShortcutsUI(&noApplication);
  });
  Run(DriveAbout, [] { loomkeys_dll::Exports().ShowAboutBox(); });
  FreeLibrary(dll.module);
  CoUninitialize();
  return wine_check::Finish();
}
