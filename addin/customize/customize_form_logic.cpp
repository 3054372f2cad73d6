#include "customize/customize_form_logic.h"

#include <exception>
#include <string>
#include <utility>

#include "common/active_mode.h"
#include "common/exception_text.h"
#include "customize/also_assigned.h"
#include "customize/filter_text.h"
#include "customize/hotkey_flags.h"
#include "customize/powerpoint_shortcuts.h"

namespace loomkeys {
namespace {

// The first of the longest names; a list box's scroll extent follows it.
std::u16string FirstLongest(const std::vector<std::u16string>& names) {
  const std::u16string* longest = nullptr;
  for (const std::u16string& name : names) {
    if (!longest || name.size() > longest->size()) longest = &name;
  }
  return longest ? *longest : std::u16string();
}

}  // namespace

CustomizeFormLogic::CustomizeFormLogic(CustomizeFormState& state, ErrorBoxes& errors, std::function<bool()> askClearAll)
    : state_(state), errors_(errors), askClearAll_(std::move(askClearAll)) {}

CustomizeFormLogic::~CustomizeFormLogic() { Finish(); }

void CustomizeFormLogic::Init(ProviderList& providers) {
  providers_ = &providers;
  RefreshView();
}

void CustomizeFormLogic::Finish() { ClearView(view_); }

void CustomizeFormLogic::RefreshView() {
  ClearView(view_);
  if (!providers_) return;
  const std::u16string filterText = TrimFilterText(state_.findText);
  ViewFilter filter{filterText};
  filter.showAssigned = state_.filter != FilterChoice::kUnassigned;
  filter.showUnassigned = state_.filter != FilterChoice::kAssigned;
  BuildView(*providers_, view_, filter);
  FillCategories();
}

void CustomizeFormLogic::FillCategories() {
  state_.categories.clear();
  state_.categoryIndex = -1;
  state_.commands.clear();
  state_.commandIndex = -1;
  ShowCommand(-1, -1);

  for (const ProviderView& providerView : view_) {
    if (!providerView.tree) continue;
    try {
      for (const auto& category : providerView.tree->categories) state_.categories.push_back(category->name);
    } catch (const std::exception&) {
      errors_.ShowError(u"Exception", CurrentExceptionText());
    }
  }
  state_.widestCategory = FirstLongest(state_.categories);

  if (!state_.categories.empty()) {
    state_.categoryIndex = 0;
    ShowSelectedCategory();
  }
}

void CustomizeFormLogic::ShowSelectedCategory() {
  if (state_.categoryIndex == -1) {
    state_.commands.clear();
    state_.commandIndex = -1;
    ShowCommand(-1, -1);
    return;
  }
  FillCommands(state_.categoryIndex);
}

void CustomizeFormLogic::FillCommands(int categoryPosition) {
  state_.commands.clear();
  state_.commandIndex = -1;
  if (const Category* category = CategoryByIndex(categoryPosition)) {
    for (const auto& command : category->commands) state_.commands.push_back(command->name);
  }
  state_.widestCommand = FirstLongest(state_.commands);
  if (!state_.commands.empty()) {
    state_.commandIndex = 0;
    ShowSelectedCommand();
  }
  // Only the Find text marks the list as filtered, not the Show choice.
  state_.commandsCaption = TrimFilterText(state_.findText).empty() ? kCommandsCaption : kFilteredCommandsCaption;
}

void CustomizeFormLogic::ShowSelectedCommand() {
  if (state_.categoryIndex != -1) ShowCommand(state_.categoryIndex, state_.commandIndex);
}

void CustomizeFormLogic::ShowCommand(int categoryPosition, int commandPosition) {
  const Command* command = CommandAt(categoryPosition, commandPosition, nullptr);
  const bool shown = command != nullptr;
  state_.hotKeyEnabled = shown;
  state_.slideDesignEnabled = shown;
  state_.slideShowEnabled = shown;
  if (!shown) {
    state_.hotKey = 0;
    state_.slideDesignChecked = true;
    state_.slideShowChecked = true;
    state_.description.clear();
    return;
  }
  state_.hotKey = HotKeyValue(static_cast<uint8_t>(command->virtualKey), HotKeyFlagsFromShiftKeys(command->shiftKeys));
  state_.slideDesignChecked = (command->activeMode & kModeSlideDesign) != 0;
  state_.slideShowChecked = (command->activeMode & kModeSlideShow) != 0;
  state_.description = command->description;
}

void CustomizeFormLogic::StoreCommand() {
  const ProviderView* owner = nullptr;
  Command* command = CommandAt(state_.categoryIndex, state_.commandIndex, &owner);
  if (!command) return;
  command->shiftKeys = ShiftKeysFromHotKeyFlags(HotKeyFlags(state_.hotKey));
  command->virtualKey = HotKeyVirtualKey(state_.hotKey);
  command->activeMode = CheckedModes();
  // The provider's command may be gone if its provider dropped its tree while
  // the dialog was open; then only the view's copy changes.
  Command* original = command->original;
  if (!original || !providers_ || !ProviderHoldsTree(*providers_, owner->source)) return;
  original->shiftKeys = command->shiftKeys;
  original->virtualKey = command->virtualKey;
  original->activeMode = command->activeMode;
}

void CustomizeFormLogic::StoreKey() { StoreCommand(); }

void CustomizeFormLogic::StoreSlideDesignMode() {
  if (state_.slideDesignEnabled) StoreCommand();
}

void CustomizeFormLogic::StoreSlideShowMode() {
  if (state_.slideShowEnabled) StoreCommand();
}

void CustomizeFormLogic::ClearAll() {
  if (!providers_ || !askClearAll_()) return;
  ClearAllShortcuts(*providers_);
  RefreshView();
}

void CustomizeFormLogic::RefreshNotices() {
  state_.powerPointNotice = PowerPointNotice(state_.hotKey);
  if (!providers_) return;
  // The command being edited is the provider's, behind the view's copy.
  const Command* shown = CommandAt(state_.categoryIndex, state_.commandIndex, nullptr);
  state_.alsoAssignedNotice =
      AlsoAssignedNotice(*providers_, shown ? shown->original : nullptr, state_.hotKey, CheckedModes());
}

uint16_t CustomizeFormLogic::CheckedModes() const {
  return static_cast<uint16_t>((state_.slideDesignChecked ? kModeSlideDesign : 0) |
                               (state_.slideShowChecked ? kModeSlideShow : 0));
}

Category* CustomizeFormLogic::CategoryByIndex(int position) const { return loomkeys::CategoryByIndex(view_, position); }

Command* CustomizeFormLogic::CommandAt(int categoryPosition, int commandPosition, const ProviderView** owner) const {
  if (categoryPosition < 0 || commandPosition < 0) return nullptr;
  const Category* category = loomkeys::CategoryByIndex(view_, categoryPosition, owner);
  if (!category || static_cast<size_t>(commandPosition) >= category->commands.size()) return nullptr;
  return category->commands[static_cast<size_t>(commandPosition)].get();
}

std::u16string PowerPointNotice(uint16_t hotKey) {
  const uint8_t virtualKey = HotKeyVirtualKey(hotKey);
  if (virtualKey == 0) return {};
  // The flag byte goes to the lookup exactly as the control reports it,
  // extended-key bit included.
  const std::u16string_view action = FindPowerPointShortcut(virtualKey, HotKeyFlags(hotKey));
  if (action.empty()) return {};
  return u"Defined by PowerPoint to " + std::u16string(action);
}

}  // namespace loomkeys
