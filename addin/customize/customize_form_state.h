#pragma once
// The values of the Customize Shortcuts dialog's controls, as its logic sees
// them. The Windows form copies the values the user changes out of the real
// controls before it runs a handler, and copies the rest back in after it.
#include <cstdint>
#include <string>
#include <vector>

namespace loomkeys {

enum class FilterChoice : int { kAll = 0, kAssigned = 1, kUnassigned = 2 };  // the Show group's items

inline constexpr char16_t kCommandsCaption[] = u"Co&mmands:";
inline constexpr char16_t kFilteredCommandsCaption[] = u"Co&mmands (Filtered):";

struct CustomizeFormState {
  // Set by the user; read from the controls before each handler.
  std::u16string findText;                   // the Find field
  FilterChoice filter = FilterChoice::kAll;  // the Show group
  int categoryIndex = -1;                    // the category list's selection, -1 for none
  int commandIndex = -1;                     // the command list's selection, -1 for none
  uint16_t hotKey = 0;                       // the key field: virtual key | HOTKEYF_* flags << 8
  bool slideDesignChecked = true;            // the Slide design check box
  bool slideShowChecked = true;              // the Slide show check box

  // Set by the logic; written to the controls after each handler (the
  // selections and the values above too, where the logic changed them).
  std::vector<std::u16string> categories;  // the category list's items
  std::vector<std::u16string> commands;    // the command list's items
  // The item that sets each list's horizontal scroll extent: its width plus
  // twice that of "W". Empty when the list has no non-empty names.
  std::u16string widestCategory;
  std::u16string widestCommand;
  std::u16string commandsCaption = kCommandsCaption;  // the label above the command list
  bool hotKeyEnabled = true;
  bool slideDesignEnabled = true;
  bool slideShowEnabled = true;
  std::u16string description;         // under Command Description
  std::u16string powerPointNotice;    // what PowerPoint does with the key, under the key field
  std::u16string alsoAssignedNotice;  // which other command holds the key, under PowerPoint's notice

  bool operator==(const CustomizeFormState&) const = default;
};

}  // namespace loomkeys
