#pragma once
// The tree of categories and commands that one UI provider contributes to the
// Customize Shortcuts dialog. The dialog's filtered view uses the same classes:
// its commands point back at the provider's through `original`.
//
// Categories and commands are held by pointer so that their addresses stay
// valid while the arrays grow: the view refers to the provider's commands.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/result_codes.h"

namespace loomkeys {

struct Command {
  std::u16string name;  // unique within its category
  std::u16string description;
  uint16_t shiftKeys = 0;       // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
  uint16_t virtualKey = 0;      // 0: no key assigned
  uint16_t activeMode = 0;      // bit 1 slide design, bit 2 slide show
  Command* original = nullptr;  // not owned; set only in the dialog's view
};

using CommandList = std::vector<std::unique_ptr<Command>>;

struct Category {
  std::u16string name;
  CommandList commands;  // insertion order

  // The first command whose name equals `name` exactly, or null.
  Command* FindCommand(std::u16string_view name) const;
};

using CategoryList = std::vector<std::unique_ptr<Category>>;

// What a command is given when it is added.
struct CommandFields {
  std::u16string_view category;
  std::u16string_view name;
  std::u16string_view description;
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = 0;
};

struct UIData {
  CategoryList categories;  // insertion order, names unique

  // The first category whose name equals `name` exactly, or null.
  Category* FindCategory(std::u16string_view name) const;

  // Adds the command, creating its category on first use: 0, or 9 with the
  // tree unchanged when the category already has a command of that name.
  // Throws only when memory runs out, and then leaves the tree unchanged.
  Result AddCommand2(const CommandFields& fields);
  // The same, for the dialog's view: the new command stands for `source`.
  Result AddLinkedCommand(Command* source, const CommandFields& fields);

  // The command's key, shift keys and modes; 10 without writing anything when
  // the category or the command is missing. Null out-pointers are skipped.
  Result GetCommand2(std::u16string_view category, std::u16string_view name, uint16_t* virtualKey, uint16_t* shiftKeys,
                     uint16_t* activeMode) const;
};

}  // namespace loomkeys
