#include "customize/ui_data.h"

#include <algorithm>

namespace loomkeys {

Command* Category::FindCommand(std::u16string_view name) const {
  auto found = std::find_if(commands.begin(), commands.end(), [name](const auto& c) { return c->name == name; });
  return found == commands.end() ? nullptr : found->get();
}

Category* UIData::FindCategory(std::u16string_view name) const {
  auto found = std::find_if(categories.begin(), categories.end(), [name](const auto& c) { return c->name == name; });
  return found == categories.end() ? nullptr : found->get();
}

Result UIData::AddCommand2(const CommandFields& fields) { return AddLinkedCommand(nullptr, fields); }

Result UIData::AddLinkedCommand(Command* source, const CommandFields& fields) {
  Category* category = FindCategory(fields.category);
  if (category && category->FindCommand(fields.name)) return kCommandExists;

  auto command = std::make_unique<Command>();
  command->name = fields.name;
  command->description = fields.description;
  command->shiftKeys = fields.shiftKeys;
  command->virtualKey = fields.virtualKey;
  command->activeMode = fields.activeMode;
  command->original = source;

  if (category) {
    category->commands.push_back(std::move(command));
    return kOk;
  }
  // A new category joins the tree only together with its first command, so
  // that running out of memory cannot leave an empty category behind.
  auto added = std::make_unique<Category>();
  added->name = fields.category;
  added->commands.push_back(std::move(command));
  categories.push_back(std::move(added));
  return kOk;
}

Result UIData::GetCommand2(std::u16string_view category, std::u16string_view name, uint16_t* virtualKey,
                           uint16_t* shiftKeys, uint16_t* activeMode) const {
  const Category* found = FindCategory(category);
  const Command* command = found ? found->FindCommand(name) : nullptr;
  if (!command) return kNoSuchCommand;
  if (virtualKey) *virtualKey = command->virtualKey;
  if (shiftKeys) *shiftKeys = command->shiftKeys;
  if (activeMode) *activeMode = command->activeMode;
  return kOk;
}

}  // namespace loomkeys
