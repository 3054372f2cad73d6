#include "customize/dialog_view.h"

#include <memory>
#include <string>

#include "customize/filter_text.h"

namespace loomkeys {
namespace {

bool Passes(const TCommand& command, std::u16string_view lowerFilter, const ViewFilter& filter) {
  const bool assigned = command.FVirtualKey != 0;
  const bool shown = assigned ? filter.showAssigned : filter.showUnassigned;
  return shown && NameMatchesFilter(command.FName, lowerFilter);
}

// A copy of the command that stands for it in the view.
std::unique_ptr<TCommand> LinkedCopy(TCommand& source) {
  auto copy = std::make_unique<TCommand>(source);
  copy->FOrigCommand = &source;
  return copy;
}

// What AddLinkedCommand would make of the passing commands one by one, but
// without its searches: a tree never holds two categories of one name nor
// two commands of one name in a category, so each copy simply goes to the
// end of its category's copy. (The searches would make every refresh, that
// is every key typed into the Find field, quadratic in a category's size.)
// As there, a category joins the copy together with its first command.
void CopyPassingCommands(const TUIData& tree, TUIData& copy, std::u16string_view lowerFilter,
                         const ViewFilter& filter) {
  for (const auto& category : tree.FCategories) {
    TCategory* copied = nullptr;
    for (const auto& command : category->FCommands) {
      if (!Passes(*command, lowerFilter, filter)) continue;
      if (copied) {
        copied->FCommands.push_back(LinkedCopy(*command));
        continue;
      }
      auto added = std::make_unique<TCategory>();
      added->FName = category->FName;
      added->FCommands.push_back(LinkedCopy(*command));
      copy.FCategories.push_back(std::move(added));
      copied = copy.FCategories.back().get();
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
