#include "win32/customize_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "common/exception_text.h"
#include "customize/customize_dialog_ids.h"
#include "customize/customize_form_logic.h"
#include "win32/about_box.h"
#include "win32/font_dc.h"
#include "win32/modal_form.h"
#include "win32/win32_client_code.h"
#include "win32/window_text.h"

namespace loomkeys {
namespace {

static_assert(kOkButtonId == IDOK && kCancelButtonId == IDCANCEL, "the dialog manager's buttons");

const wchar_t* Text(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

class CustomizeShortcutsForm final : public ModalForm, public CustomizeDialog {
 public:
  explicit CustomizeShortcutsForm(HWND owner)
      : ModalForm(L"Customize Shortcuts", kCustomizeDialogLayout),
        owner_(owner),
        logic_(state_, errorBoxes_, [this] { return AskClearAll(); }) {}

  bool Run(ProviderList& providers) override {
    providers_ = &providers;
    // The hot-key control's class exists only once common controls are
    // initialised (Wine registers it anyway; Windows does not).
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&classes);
    const KeyFieldSysCharFilter filter;
    const INT_PTR result = ShowModal(owner_);
    logic_.Finish();
    if (result != IDOK && result != IDCANCEL) {
      throw std::runtime_error("The Customize Shortcuts dialog could not be shown");
    }
    return result == IDCANCEL;
  }

 protected:
  void FormCreate() override {
    // Each label directly before its control in the window order: screen
    // readers name a list, an edit or a hot-key control by the label before
    // it, and the dialog manager gives a label's access key to the control
    // after it. Labels are no tab stops, so the tab order stays that of the
    // other controls.
    AddControl(L"STATIC", L"&Find:", 0, kFindLabelId);
    HWND find = AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kFilterEditId, WS_EX_CLIENTEDGE);
    AddControl(L"STATIC", L"Ca&tegories:", 0, kCategoryLabelId);
    AddList(kCategoryListBoxId);
    commandsLabel_ = AddControl(L"STATIC", Text(state_.commandsCaption), 0, kCommandsLabelId);
    AddList(kCommandsListBoxId);
    AddControl(L"STATIC", L"&Assigned shortcut to command:", 0, kAssignedLabelId);
    HWND hotKey = AddControl(HOTKEY_CLASSW, L"", WS_TABSTOP | WS_GROUP, kAssignedHotKeyId, WS_EX_CLIENTEDGE);
    NameAfterLabel(hotKey);
    SendMessageW(hotKey, HKM_SETRULES, 0, 0);  // no key combination is refused
    SetWindowSubclass(hotKey, HotKeyFieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
    AddControl(L"STATIC", L"Active during:", 0, kActiveDuringLabelId);
    AddControl(L"BUTTON", L"Slide &design", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kActiveSlideDesignCheckBoxId);
    AddControl(L"BUTTON", L"Slide s&how", BS_AUTOCHECKBOX | WS_TABSTOP, kActiveSlideShowCheckBoxId);
    AddControl(L"BUTTON", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, kOkButtonId);
    AddControl(L"BUTTON", L"&Cancel", BS_PUSHBUTTON | WS_TABSTOP, kCancelButtonId);
    AddControl(L"BUTTON", L"A&bout...", BS_PUSHBUTTON | WS_TABSTOP, kAboutButtonId);
    AddControl(L"BUTTON", L"&Show", BS_GROUPBOX | WS_GROUP, kFilterRadioGroupId);
    AddControl(L"BUTTON", L"All", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, kFilterAllId);
    AddControl(L"BUTTON", L"Assigned", BS_AUTORADIOBUTTON, kFilterAssignedId);
    AddControl(L"BUTTON", L"Unassigned", BS_AUTORADIOBUTTON, kFilterUnassignedId);
    AddControl(L"BUTTON", L"C&lear All", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, kClearShortcutsButtonId);
    AddControl(L"BUTTON", L"Command Description", BS_GROUPBOX | WS_GROUP, kCommandDescriptionGroupBoxId);
    // The description and the notices show "&" as it is.
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kDescriptionLabelId);
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kPowerPointShortcutLabelId);
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kAlsoAssignedLabelId);
    AddControl(L"STATIC", L"Shortcuts defined through Keyloom will override that of PowerPoint.", SS_LEFT | SS_NOPREFIX,
               kOverrideNoticeLabelId);

    // The controls' first values, as the layout gives them.
    SendMessageW(Item(kFilterAllId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Item(kActiveSlideDesignCheckBoxId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Item(kActiveSlideShowCheckBoxId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Handle(), DM_SETDEFID, IDOK, 0);
    shown_ = state_;
    SetTimer(Handle(), kNoticeTimer, 50, nullptr);
    SetFocus(find);

    RunHandler([this] { logic_.Init(*providers_); });
  }

  void FormDestroy() override {
    KillTimer(Handle(), kNoticeTimer);
    RemoveWindowSubclass(Item(kAssignedHotKeyId), HotKeyFieldProc, 0);
  }

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) override {
    if (message == WM_TIMER && wParam == kNoticeTimer) {
      RunHandler([this] { logic_.RefreshNotices(); });
      return true;
    }
    if (message != WM_COMMAND) return false;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
      case IDOK:
      case IDCANCEL:  // Cancel, Esc and the close box
        EndModal(id);
        return true;
      case kFilterEditId:
        if (code == EN_CHANGE) RunHandler([this] { logic_.RefreshView(); });
        return true;
      case kFilterAllId:
      case kFilterAssignedId:
      case kFilterUnassignedId:
        // A click on the item already chosen changes nothing.
        if (code == BN_CLICKED) {
          RunHandler([this] {
            if (state_.filter == refreshedFilter_) return;
            refreshedFilter_ = state_.filter;
            logic_.RefreshView();
          });
        }
        return true;
      case kCategoryListBoxId:
        if (code == LBN_SELCHANGE) RunHandler([this] { logic_.ShowSelectedCategory(); });
        return true;
      case kCommandsListBoxId:
        if (code == LBN_SELCHANGE) RunHandler([this] { logic_.ShowSelectedCommand(); });
        return true;
      case kActiveSlideDesignCheckBoxId:
        if (code == BN_CLICKED) RunHandler([this] { logic_.StoreSlideDesignMode(); });
        return true;
      case kActiveSlideShowCheckBoxId:
        if (code == BN_CLICKED) RunHandler([this] { logic_.StoreSlideShowMode(); });
        return true;
      case kClearShortcutsButtonId:
        if (code == BN_CLICKED) RunHandler([this] { logic_.ClearAll(); });
        return true;
      case kAboutButtonId:
        if (code == BN_CLICKED) ShowAboutForm(Handle());
        return true;
    }
    return false;
  }

 private:
  static constexpr UINT_PTR kNoticeTimer = 1;
  static constexpr int kItemHeight = 15;

  void AddList(int id) {
    HWND list =
        AddControl(L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_GROUP,
                   id, WS_EX_CLIENTEDGE);
    NameAfterLabel(list);
    SetItemHeight(list);
  }

  // Never lower than the font's text, which may be taller than the layout's.
  void SetItemHeight(HWND list) {
    TEXTMETRICW metrics = {};
    GetTextMetricsW(FontDC(list, FormFont().Handle()).Handle(), &metrics);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, std::max<int>(Scale(kItemHeight), metrics.tmHeight));
  }

  // The scroll extent that shows the widest item whole, plus twice a "W".
  static void SetHorizontalExtent(HWND list, const std::u16string& widest) {
    const std::wstring widestText(widest.begin(), widest.end());
    SendMessageW(list, LB_SETHORIZONTALEXTENT, TextWidth(list, widestText) + 2 * TextWidth(list, L"W"), 0);
  }

  // The lists measure in the new font; the labels were fitted to it already.
  void DpiChanged() override {
    SetItemHeight(Item(kCategoryListBoxId));
    SetItemHeight(Item(kCommandsListBoxId));
    SetHorizontalExtent(Item(kCategoryListBoxId), shown_.widestCategory);
    SetHorizontalExtent(Item(kCommandsListBoxId), shown_.widestCommand);
  }

  // Runs a handler of the logic between copying the controls' values in and
  // copying its results out. Handlers do not nest: a message box or the
  // About box inside one lets the timer and focus changes through, and
  // those must wait.
  template <typename Handler>
  void RunHandler(Handler&& handler) noexcept {
    if (busy_ || Ending()) return;
    busy_ = true;
    try {
      Pull();
      handler();
      Push();
    } catch (...) {
      ReportError();
    }
    busy_ = false;
  }

  // Shows the exception being handled; nothing is left to report with when
  // even its text cannot be made.
  void ReportError() noexcept {
    try {
      errorBoxes_.ShowError(u"Exception", CurrentExceptionText());
    } catch (...) {
    }
  }

  // What the user can change, from the controls into the state.
  void Pull() {
    state_.findText = Utf16(WindowText(Item(kFilterEditId)));
    state_.filter = IsChecked(kFilterAssignedId)     ? FilterChoice::kAssigned
                    : IsChecked(kFilterUnassignedId) ? FilterChoice::kUnassigned
                                                     : FilterChoice::kAll;
    state_.categoryIndex = Selection(kCategoryListBoxId);
    state_.commandIndex = Selection(kCommandsListBoxId);
    state_.hotKey = static_cast<uint16_t>(SendMessageW(Item(kAssignedHotKeyId), HKM_GETHOTKEY, 0, 0));
    state_.slideDesignChecked = IsChecked(kActiveSlideDesignCheckBoxId);
    state_.slideShowChecked = IsChecked(kActiveSlideShowCheckBoxId);
    // The controls show these now, whatever was shown before.
    shown_.findText = state_.findText;
    shown_.filter = state_.filter;
    shown_.categoryIndex = state_.categoryIndex;
    shown_.commandIndex = state_.commandIndex;
    shown_.hotKey = state_.hotKey;
    shown_.slideDesignChecked = state_.slideDesignChecked;
    shown_.slideShowChecked = state_.slideShowChecked;
  }

  // What the logic changed, from the state into the controls.
  void Push() {
    PushList(kCategoryListBoxId, state_.categories, shown_.categories, state_.widestCategory, shown_.widestCategory,
             state_.categoryIndex, shown_.categoryIndex);
    PushList(kCommandsListBoxId, state_.commands, shown_.commands, state_.widestCommand, shown_.widestCommand,
             state_.commandIndex, shown_.commandIndex);
    if (state_.commandsCaption != shown_.commandsCaption) {
      SetLabelText(commandsLabel_, Text(state_.commandsCaption));
      NameAfterLabel(Item(kCommandsListBoxId));
    }
    HWND hotKey = Item(kAssignedHotKeyId);
    if (state_.hotKey != shown_.hotKey) SendMessageW(hotKey, HKM_SETHOTKEY, state_.hotKey, 0);
    if (state_.hotKeyEnabled != shown_.hotKeyEnabled) EnableWindow(hotKey, state_.hotKeyEnabled);
    PushCheckBox(kActiveSlideDesignCheckBoxId, state_.slideDesignChecked, state_.slideDesignEnabled);
    PushCheckBox(kActiveSlideShowCheckBoxId, state_.slideShowChecked, state_.slideShowEnabled);
    if (state_.description != shown_.description)
      SetDlgItemTextW(Handle(), kDescriptionLabelId, Text(state_.description));
    if (state_.powerPointNotice != shown_.powerPointNotice) {
      SetDlgItemTextW(Handle(), kPowerPointShortcutLabelId, Text(state_.powerPointNotice));
    }
    if (state_.alsoAssignedNotice != shown_.alsoAssignedNotice) {
      SetDlgItemTextW(Handle(), kAlsoAssignedLabelId, Text(state_.alsoAssignedNotice));
    }
    shown_ = state_;
  }

  void PushList(int id, const std::vector<std::u16string>& items, const std::vector<std::u16string>& shownItems,
                const std::u16string& widest, const std::u16string& shownWidest, int selection, int shownSelection) {
    HWND list = Item(id);
    const bool refill = items != shownItems;
    if (refill) {
      SendMessageW(list, WM_SETREDRAW, FALSE, 0);
      SendMessageW(list, LB_RESETCONTENT, 0, 0);
      for (const std::u16string& item : items)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(item)));
      SendMessageW(list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(list, nullptr, TRUE);
    }
    if (refill || widest != shownWidest) SetHorizontalExtent(list, widest);
    if (refill || selection != shownSelection) SendMessageW(list, LB_SETCURSEL, selection, 0);
  }

  void PushCheckBox(int id, bool checked, bool enabled) {
    HWND box = Item(id);
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if ((IsWindowEnabled(box) != FALSE) != enabled) EnableWindow(box, enabled);
  }

  bool IsChecked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  int Selection(int id) const {
    const LRESULT selection = SendMessageW(Item(id), LB_GETCURSEL, 0, 0);
    return selection == LB_ERR ? -1 : static_cast<int>(selection);
  }

  bool AskClearAll() {
    return MessageBoxW(Handle(), L"Clear all keyboard shortcuts defined through Keyloom for PowerPoint?",
                       L"Keyloom for PowerPoint", MB_YESNO | MB_ICONWARNING) == IDYES;
  }

  // While the key field has the focus OK is not the default button, so
  // that Enter belongs to the field.
  void EnterKeyField() { SendMessageW(Handle(), DM_SETDEFID, 0, 0); }
  // The key field lost the focus: OK is the default button again, and the
  // key is stored in the command selected at this moment.
  void LeaveKeyField() {
    if (Ending()) return;
    SendMessageW(Handle(), DM_SETDEFID, IDOK, 0);
    RunHandler([this] { logic_.StoreKey(); });
  }

  static LRESULT CALLBACK HotKeyFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    auto* form = reinterpret_cast<CustomizeShortcutsForm*>(self);
    switch (message) {
      case WM_GETDLGCODE: {
        // With no default button the dialog manager would turn Enter into
        // IDOK and close the dialog; claiming the key keeps it here.
        const auto* keyMessage = reinterpret_cast<const MSG*>(lParam);
        if (keyMessage && keyMessage->message == WM_KEYDOWN && keyMessage->wParam == VK_RETURN) {
          return DefSubclassProc(field, message, wParam, lParam) | DLGC_WANTMESSAGE;
        }
        break;
      }
      case WM_KEYDOWN:
      case WM_CHAR:
        // Enter alone does nothing in the field (the control would clear its
        // key); with a modifier held it is the control's to take or refuse.
        if (wParam == VK_RETURN && !ModifierHeld()) return 0;  // VK_RETURN is also the '\r' of WM_CHAR
        break;
      case WM_SETFOCUS:
        form->EnterKeyField();
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
        form->LeaveKeyField();
        return result;
      }
    }
    return DefSubclassProc(field, message, wParam, lParam);
  }

  // The dialog manager takes every WM_SYSCHAR for an access key without
  // asking the focused control (WM_GETDLGCODE is sent for WM_CHAR only), so
  // Alt+C typed into the key field would also press Cancel. A hot-key control
  // reads its keys from WM_SYSKEYDOWN and has no use for WM_SYSCHAR: for the
  // time of the modal run, a message filter of the dialog's thread drops the
  // ones addressed to a hot-key control before the dialog manager sees them.
  // Every other control keeps the access keys.
  class KeyFieldSysCharFilter {
   public:
    KeyFieldSysCharFilter()
        : hook_(SetWindowsHookExW(WH_MSGFILTER, DropKeyFieldSysChar, nullptr, GetCurrentThreadId())) {}
    ~KeyFieldSysCharFilter() {
      if (hook_) UnhookWindowsHookEx(hook_);
    }
    KeyFieldSysCharFilter(const KeyFieldSysCharFilter&) = delete;
    KeyFieldSysCharFilter& operator=(const KeyFieldSysCharFilter&) = delete;

   private:
    static LRESULT CALLBACK DropKeyFieldSysChar(int code, WPARAM wParam, LPARAM lParam) {
      const auto* message = reinterpret_cast<const MSG*>(lParam);
      if (code == MSGF_DIALOGBOX && message->message == WM_SYSCHAR && IsHotKeyControl(message->hwnd)) return TRUE;
      return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static bool IsHotKeyControl(HWND window) {
      wchar_t name[32] = {};
      return GetClassNameW(window, name, 32) && lstrcmpiW(name, HOTKEY_CLASSW) == 0;
    }
    HHOOK hook_;
  };

  static bool ModifierHeld() { return (GetKeyState(VK_CONTROL) | GetKeyState(VK_SHIFT) | GetKeyState(VK_MENU)) < 0; }

  HWND owner_;
  ProviderList* providers_ = nullptr;
  MessageBoxErrorBoxes errorBoxes_;
  CustomizeFormState state_;
  CustomizeFormState shown_;  // what the controls show
  CustomizeFormLogic logic_;
  HWND commandsLabel_ = nullptr;
  FilterChoice refreshedFilter_ = FilterChoice::kAll;
  bool busy_ = false;
};

}  // namespace

std::unique_ptr<CustomizeDialog> MakeCustomizeDialog(HWND owner) {
  return std::make_unique<CustomizeShortcutsForm>(owner);
}

}  // namespace loomkeys
