#pragma once
// The values of the Customize Shortcuts dialog's controls, as its logic sees
// them. The Windows form copies the values the user changes out of the real
// controls before it runs a handler, and copies the rest back in after it.
#include <cstdint>
#include <string>
#include <vector>

namespace loomkeys {

enum class FilterChoice : int { kAll = 0, kAssigned = 1, kUnassigned = 2 };  // FilterRadioGroup items

inline constexpr char16_t kCommandsCaption[] = u"Co&mmands:";
inline constexpr char16_t kFilteredCommandsCaption[] = u"Co&mmands (Filtered):";

struct CustomizeFormState {
  // Set by the user; read from the controls before each handler.
  std::u16string findText;                   // FilterEdit
  FilterChoice filter = FilterChoice::kAll;  // FilterRadioGroup
  int categoryIndex = -1;                    // CategoryListBox selection, -1 for none
  int commandIndex = -1;                     // CommandsListBox selection, -1 for none
  uint16_t hotKey = 0;                       // AssignedHotKey: virtual key | HOTKEYF_* flags << 8
  bool slideDesignChecked = true;            // ActiveSlideDesignCheckBox
  bool slideShowChecked = true;              // ActiveSlideShowCheckBox

  // Set by the logic; written to the controls after each handler (the
  // selections and the values above too, where the logic changed them).
  std::vector<std::u16string> categories;  // CategoryListBox items
  std::vector<std::u16string> commands;    // CommandsListBox items
  // The item that sets each list's horizontal scroll extent: its width plus
  // twice that of "W". Empty when the list has no non-empty names.
  std::u16string widestCategory;
  std::u16string widestCommand;
  std::u16string commandsCaption = kCommandsCaption;  // CommandsLabel
  bool hotKeyEnabled = true;
  bool slideDesignEnabled = true;
  bool slideShowEnabled = true;
  std::u16string description;       // DescriptionLabel
  std::u16string powerPointNotice;  // PowerPointShortcutLabel

  bool operator==(const CustomizeFormState&) const = default;
};

}  // namespace loomkeys
