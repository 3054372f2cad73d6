#include "customize/dialog_view.h"

#include <string>

#include "customize/filter_text.h"

namespace loomkeys {
namespace {

bool Passes(const TCommand& command, std::u16string_view lowerFilter, const ViewFilter& filter) {
  const bool assigned = command.FVirtualKey != 0;
  const bool shown = assigned ? filter.showAssigned : filter.showUnassigned;
  return shown && NameMatchesFilter(command.FName, lowerFilter);
}

void CopyPassingCommands(const TUIData& tree, TUIData& copy, std::u16string_view lowerFilter,
                         const ViewFilter& filter) {
  for (const auto& category : tree.FCategories) {
    for (const auto& command : category->FCommands) {
      if (!Passes(*command, lowerFilter, filter)) continue;
      copy.AddLinkedCommand(command.get(), {category->FName, command->FName, command->FDescription,
                                            command->FVirtualKey, command->FShiftKeys, command->FActiveMode});
    }
  }
}

}  // namespace

void BuildView(const ProviderList& source, ViewList& view, const ViewFilter& filter) {
  const std::u16string lowerFilter = LowerAsciiLetters(filter.text);
  for (size_t i = 0; i < source.Count(); ++i) {
    const TUIData* tree = source.At(i)->UIData;
    if (!tree) continue;
    try {
      view.push_back({nullptr, tree});
      ViewEntry& entry = view.back();
      entry.UIData = std::make_unique<TUIData>();
      CopyPassingCommands(*tree, *entry.UIData, lowerFilter, filter);
    } catch (...) {
      // Out of memory: this provider shows what was copied so far.
    }
  }
}

void ClearView(ViewList& view) { view.clear(); }

void ClearAllShortcuts(const ProviderList& source) {
  for (size_t i = 0; i < source.Count(); ++i) {
    TUIData* tree = source.At(i)->UIData;
    if (!tree) continue;
    for (const auto& category : tree->FCategories) {
      for (const auto& command : category->FCommands) {
        command->FVirtualKey = 0;
        command->FShiftKeys = 0;
      }
    }
  }
}

TCategory* CategoryByIndex(const ViewList& view, int position, const ViewEntry** entry) {
  if (position < 0) return nullptr;
  size_t remaining = static_cast<size_t>(position);
  for (const ViewEntry& viewEntry : view) {
    if (!viewEntry.UIData) continue;
    const TCategories& categories = viewEntry.UIData->FCategories;
    if (remaining < categories.size()) {
      if (entry) *entry = &viewEntry;
      return categories[remaining].get();
    }
    remaining -= categories.size();
  }
  return nullptr;
}

bool ProviderHoldsTree(const ProviderList& source, const TUIData* tree) {
  if (!tree) return false;
  for (size_t i = 0; i < source.Count(); ++i) {
    if (source.At(i)->UIData == tree) return true;
  }
  return false;
}

}  // namespace loomkeys
