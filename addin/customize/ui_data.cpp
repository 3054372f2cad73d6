#include "customize/ui_data.h"

#include <algorithm>

namespace loomkeys {

TCommand* TCategory::FindCommand(std::u16string_view name) const {
  auto found = std::find_if(FCommands.begin(), FCommands.end(), [name](const auto& c) { return c->FName == name; });
  return found == FCommands.end() ? nullptr : found->get();
}

TCategory* TUIData::FindCategory(std::u16string_view name) const {
  auto found = std::find_if(FCategories.begin(), FCategories.end(), [name](const auto& c) { return c->FName == name; });
  return found == FCategories.end() ? nullptr : found->get();
}

Result TUIData::AddCommand2(const CommandFields& fields) { return AddLinkedCommand(nullptr, fields); }

Result TUIData::AddLinkedCommand(TCommand* source, const CommandFields& fields) {
  TCategory* category = FindCategory(fields.category);
  if (category && category->FindCommand(fields.name)) return kCommandExists;

  auto command = std::make_unique<TCommand>();
  command->FName = fields.name;
  command->FDescription = fields.description;
  command->FShiftKeys = fields.shiftKeys;
  command->FVirtualKey = fields.virtualKey;
  command->FActiveMode = fields.activeMode;
  command->FOrigCommand = source;

  if (category) {
    category->FCommands.push_back(std::move(command));
    return kOk;
  }
  // A new category joins the tree only together with its first command, so
  // that running out of memory cannot leave an empty category behind.
  auto added = std::make_unique<TCategory>();
  added->FName = fields.category;
  added->FCommands.push_back(std::move(command));
  FCategories.push_back(std::move(added));
  return kOk;
}

Result TUIData::GetCommand2(std::u16string_view category, std::u16string_view name, uint16_t* virtualKey,
                            uint16_t* shiftKeys, uint16_t* activeMode) const {
  const TCategory* found = FindCategory(category);
  const TCommand* command = found ? found->FindCommand(name) : nullptr;
  if (!command) return kNoSuchCommand;
  if (virtualKey) *virtualKey = command->FVirtualKey;
  if (shiftKeys) *shiftKeys = command->FShiftKeys;
  if (activeMode) *activeMode = command->FActiveMode;
  return kOk;
}

}  // namespace loomkeys
