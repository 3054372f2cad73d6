#include "customize/customize_form_logic.h"

#include <exception>
#include <string>
#include <utility>

#include "customize/filter_text.h"
#include "customize/hotkey_flags.h"
#include "customize/powerpoint_shortcuts.h"
#include "platform/ansi_text.h"

namespace loomkeys {
namespace {

constexpr uint16_t kSlideDesignMode = 1;
constexpr uint16_t kSlideShowMode = 2;

// The first of the longest names; a list box's scroll extent follows it.
std::u16string FirstLongest(const std::vector<std::u16string>& names) {
  const std::u16string* longest = nullptr;
  for (const std::u16string& name : names) {
    if (!longest || name.size() > longest->size()) longest = &name;
  }
  return longest ? *longest : std::u16string();
}

std::u16string ErrorText(const std::exception& error) {
  try {
    return AnsiToUtf16(error.what());
  } catch (...) {
    return u"Exception";
  }
}

}  // namespace

CustomizeFormLogic::CustomizeFormLogic(CustomizeFormState& state, ErrorBoxes& errors, std::function<bool()> askClearAll)
    : state_(state), errors_(errors), askClearAll_(std::move(askClearAll)) {}

CustomizeFormLogic::~CustomizeFormLogic() { Finish(); }

void CustomizeFormLogic::Init(ProviderList& providers) {
  FUIProviderRegistry = &providers;
  FilterRadioGroupClick();
}

void CustomizeFormLogic::Finish() { ClearView(FViewProviderRegistry); }

void CustomizeFormLogic::FilterRadioGroupClick() {
  ClearView(FViewProviderRegistry);
  if (!FUIProviderRegistry) return;
  const std::u16string filterText = TrimFilterText(state_.findText);
  ViewFilter filter{filterText};
  filter.showAssigned = state_.filter != FilterChoice::kUnassigned;
  filter.showUnassigned = state_.filter != FilterChoice::kAssigned;
  BuildView(*FUIProviderRegistry, FViewProviderRegistry, filter);
  FillCategories();
}

void CustomizeFormLogic::FillCategories() {
  state_.categories.clear();
  state_.categoryIndex = -1;
  state_.commands.clear();
  state_.commandIndex = -1;
  ShowCommand(-1, -1);

  for (const ViewEntry& entry : FViewProviderRegistry) {
    if (!entry.UIData) continue;
    try {
      for (const auto& category : entry.UIData->FCategories) state_.categories.push_back(category->FName);
    } catch (const std::exception& error) {
      errors_.ShowError(u"Exception", ErrorText(error));
    }
  }
  state_.widestCategory = FirstLongest(state_.categories);

  if (!state_.categories.empty()) {
    state_.categoryIndex = 0;
    CategoryListBoxClick();
  }
}

void CustomizeFormLogic::CategoryListBoxClick() {
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
  if (const TCategory* category = CategoryByIndex(categoryPosition)) {
    for (const auto& command : category->FCommands) state_.commands.push_back(command->FName);
  }
  state_.widestCommand = FirstLongest(state_.commands);
  if (!state_.commands.empty()) {
    state_.commandIndex = 0;
    CommandsListBoxClick();
  }
  // Only the Find text marks the list as filtered, not the Show choice.
  state_.commandsCaption = TrimFilterText(state_.findText).empty() ? kCommandsCaption : kFilteredCommandsCaption;
}

void CustomizeFormLogic::CommandsListBoxClick() {
  if (state_.categoryIndex != -1) ShowCommand(state_.categoryIndex, state_.commandIndex);
}

void CustomizeFormLogic::ShowCommand(int categoryPosition, int commandPosition) {
  const TCommand* command = CommandAt(categoryPosition, commandPosition, nullptr);
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
  state_.hotKey =
      HotKeyValue(static_cast<uint8_t>(command->FVirtualKey), HotKeyFlagsFromShiftKeys(command->FShiftKeys));
  state_.slideDesignChecked = (command->FActiveMode & kSlideDesignMode) != 0;
  state_.slideShowChecked = (command->FActiveMode & kSlideShowMode) != 0;
  state_.description = command->FDescription;
}

void CustomizeFormLogic::StoreCommand() {
  const ViewEntry* entry = nullptr;
  TCommand* command = CommandAt(state_.categoryIndex, state_.commandIndex, &entry);
  if (!command) return;
  command->FShiftKeys = ShiftKeysFromHotKeyFlags(HotKeyFlags(state_.hotKey));
  command->FVirtualKey = HotKeyVirtualKey(state_.hotKey);
  command->FActiveMode = static_cast<uint16_t>((state_.slideDesignChecked ? kSlideDesignMode : 0) |
                                               (state_.slideShowChecked ? kSlideShowMode : 0));
  // The provider's command may be gone if its provider dropped its tree while
  // the dialog was open; then only the view's copy changes.
  TCommand* original = command->FOrigCommand;
  if (!original || !FUIProviderRegistry || !ProviderHoldsTree(*FUIProviderRegistry, entry->Source)) return;
  original->FShiftKeys = command->FShiftKeys;
  original->FVirtualKey = command->FVirtualKey;
  original->FActiveMode = command->FActiveMode;
}

void CustomizeFormLogic::AssignedHotKeyExit() { StoreCommand(); }

void CustomizeFormLogic::ActiveSlideDesignCheckBoxClick() {
  if (state_.slideDesignEnabled) StoreCommand();
}

void CustomizeFormLogic::ActiveSlideShowCheckBoxClick() {
  if (state_.slideShowEnabled) StoreCommand();
}

void CustomizeFormLogic::ClearShortcutsButtonClick() {
  if (!FUIProviderRegistry || !askClearAll_()) return;
  ClearAllShortcuts(*FUIProviderRegistry);
  FilterRadioGroupClick();
}

void CustomizeFormLogic::ShortcutsTimerTimer() { state_.powerPointNotice = PowerPointNotice(state_.hotKey); }

TCategory* CustomizeFormLogic::CategoryByIndex(int position) const {
  return loomkeys::CategoryByIndex(FViewProviderRegistry, position);
}

TCommand* CustomizeFormLogic::CommandAt(int categoryPosition, int commandPosition, const ViewEntry** entry) const {
  if (categoryPosition < 0 || commandPosition < 0) return nullptr;
  const TCategory* category = loomkeys::CategoryByIndex(FViewProviderRegistry, categoryPosition, entry);
  if (!category || static_cast<size_t>(commandPosition) >= category->FCommands.size()) return nullptr;
  return category->FCommands[static_cast<size_t>(commandPosition)].get();
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
