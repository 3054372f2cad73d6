#include "customize/dialog_view.h"

#include <memory>
#include <string>

#include "customize/filter_text.h"

namespace loomkeys {
namespace {

bool Passes(const Command& command, std::u16string_view lowerFilter, const ViewFilter& filter) {
  const bool assigned = command.virtualKey != 0;
  const bool shown = assigned ? filter.showAssigned : filter.showUnassigned;
  return shown && NameMatchesFilter(command.name, lowerFilter);
}

// A copy of the command that stands for it in the view.
std::unique_ptr<Command> LinkedCopy(Command& source) {
  auto copy = std::make_unique<Command>(source);
  copy->original = &source;
  return copy;
}

// What AddLinkedCommand would make of the passing commands one by one, but
// without its searches: a tree never holds two categories of one name nor
// two commands of one name in a category, so each copy simply goes to the
// end of its category's copy. (The searches would make every refresh, that
// is every key typed into the Find field, quadratic in a category's size.)
// As there, a category joins the copy together with its first command.
void CopyPassingCommands(const UIData& tree, UIData& copy, std::u16string_view lowerFilter, const ViewFilter& filter) {
  for (const auto& category : tree.categories) {
    Category* copied = nullptr;
    for (const auto& command : category->commands) {
      if (!Passes(*command, lowerFilter, filter)) continue;
      if (copied) {
        copied->commands.push_back(LinkedCopy(*command));
        continue;
      }
      auto added = std::make_unique<Category>();
      added->name = category->name;
      added->commands.push_back(LinkedCopy(*command));
      copy.categories.push_back(std::move(added));
      copied = copy.categories.back().get();
    }
  }
}

}  // namespace

void BuildView(const ProviderList& source, ViewList& view, const ViewFilter& filter) {
  const std::u16string lowerFilter = LowerAsciiLetters(filter.text);
  for (size_t i = 0; i < source.Count(); ++i) {
    const UIData* tree = source.At(i)->tree;
    if (!tree) continue;
    try {
      view.push_back({nullptr, tree});
      ProviderView& added = view.back();
      added.tree = std::make_unique<UIData>();
      CopyPassingCommands(*tree, *added.tree, lowerFilter, filter);
    } catch (...) {
      // Out of memory: this provider shows what was copied so far.
    }
  }
}

void ClearView(ViewList& view) { view.clear(); }

void ClearAllShortcuts(const ProviderList& source) {
  for (size_t i = 0; i < source.Count(); ++i) {
    UIData* tree = source.At(i)->tree;
    if (!tree) continue;
    for (const auto& category : tree->categories) {
      for (const auto& command : category->commands) {
        command->virtualKey = 0;
        command->shiftKeys = 0;
      }
    }
  }
}

Category* CategoryByIndex(const ViewList& view, int position, const ProviderView** owner) {
  if (position < 0) return nullptr;
  size_t remaining = static_cast<size_t>(position);
  for (const ProviderView& providerView : view) {
    if (!providerView.tree) continue;
    const CategoryList& categories = providerView.tree->categories;
    if (remaining < categories.size()) {
      if (owner) *owner = &providerView;
      return categories[remaining].get();
    }
    remaining -= categories.size();
  }
  return nullptr;
}

bool ProviderHoldsTree(const ProviderList& source, const UIData* tree) {
  if (!tree) return false;
  for (size_t i = 0; i < source.Count(); ++i) {
    if (source.At(i)->tree == tree) return true;
  }
  return false;
}

}  // namespace loomkeys
