#pragma once
// What the Customize Shortcuts dialog does, without Windows: its event
// handlers over the state of its controls. The Windows form
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
  // Builds the view again from the Find text and the Show choice.
  void RefreshView();
  // Lists the selected category's commands and shows the first.
  void ShowSelectedCategory();
  // Shows the selected command's key, modes and description.
  void ShowSelectedCommand();
  // Stores the key field's value in the selected command (the field lost the focus).
  void StoreKey();
  // Store a changed check box in the selected command, when it is enabled.
  void StoreSlideDesignMode();
  void StoreSlideShowMode();
  // Asks, then clears every key of every provider's tree and refreshes the view.
  void ClearAll();
  // Names PowerPoint's own use of the key in the key field and another
  // command of the dialog that holds it too (run by a 50 ms timer).
  void RefreshNotices();

  // Form operations.
  void FillCategories();
  void FillCommands(int categoryPosition);
  void ShowCommand(int categoryPosition, int commandPosition);
  void StoreCommand();
  Category* CategoryByIndex(int position) const;

  const ViewList& View() const { return view_; }

 private:
  Command* CommandAt(int categoryPosition, int commandPosition, const ProviderView** owner) const;
  // The mode bits of the two check boxes.
  uint16_t CheckedModes() const;

  CustomizeFormState& state_;
  ErrorBoxes& errors_;
  std::function<bool()> askClearAll_;
  ProviderList* providers_ = nullptr;
  ViewList view_;
};

// The notice under the key field for the field's value: "Defined by
// PowerPoint to " and what PowerPoint does with that key, or empty when the
// field has no key or PowerPoint does nothing with it.
std::u16string PowerPointNotice(uint16_t hotKey);

}  // namespace loomkeys
