#pragma once
// What the Customize Shortcuts dialog does, without Windows: the handlers of
// TCustomizeShortcutsForm over the state of its controls. The Windows form
// only moves values between the real controls and CustomizeFormState.
//
// The dialog edits the providers' trees in place as the user goes and keeps
// no copy to restore; it never talks to the shortcut registry.
#include <functional>

#include "customize/customize_form_state.h"
#include "customize/dialog_view.h"
#include "customize/provider_list.h"
#include "platform/client_code.h"

namespace loomkeys {

class CustomizeFormLogic {
 public:
  // `askClearAll` puts the Clear All question to the user: true for Yes.
  CustomizeFormLogic(CustomizeFormState& state, ErrorBoxes& errors, std::function<bool()> askClearAll);
  CustomizeFormLogic(const CustomizeFormLogic&) = delete;
  CustomizeFormLogic& operator=(const CustomizeFormLogic&) = delete;
  ~CustomizeFormLogic();

  // Takes the providers' list and shows the first view.
  void Init(ProviderList& providers);
  // Empties the view; the providers' trees keep what was stored.
  void Finish();

  // Event handlers.
  void FilterRadioGroupClick();  // also every change of the Find text
  void CategoryListBoxClick();
  void CommandsListBoxClick();
  void AssignedHotKeyExit();
  void ActiveSlideDesignCheckBoxClick();
  void ActiveSlideShowCheckBoxClick();
  void ClearShortcutsButtonClick();
  void ShortcutsTimerTimer();

  // Form operations.
  void FillCategories();
  void FillCommands(int categoryPosition);
  void ShowCommand(int categoryPosition, int commandPosition);
  void StoreCommand();
  TCategory* CategoryByIndex(int position) const;

  const ViewList& View() const { return FViewProviderRegistry; }

 private:
  TCommand* CommandAt(int categoryPosition, int commandPosition, const ViewEntry** entry) const;

  CustomizeFormState& state_;
  ErrorBoxes& errors_;
  std::function<bool()> askClearAll_;
  ProviderList* FUIProviderRegistry = nullptr;
  ViewList FViewProviderRegistry;
};

// The text of PowerPointShortcutLabel for the key field's value: "Defined by
// PowerPoint to " and what PowerPoint does with that key, or empty when the
// field has no key or PowerPoint does nothing with it.
std::u16string PowerPointNotice(uint16_t hotKey);

}  // namespace loomkeys
