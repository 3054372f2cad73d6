#pragma once
// The Customize dialog's filtered view of the providers' trees. Each
// provider view holds a tree of copies of one provider's commands that pass
// the filter; every copy points back at the provider's command (`original`),
// which is where the dialog stores a key.
#include <memory>
#include <string_view>
#include <vector>

#include "customize/provider_list.h"
#include "customize/ui_data.h"

namespace loomkeys {

struct ProviderView {
  std::unique_ptr<UIData> tree;    // the copies; null only if creating it failed
  const UIData* source = nullptr;  // the provider's tree that the copies stand for
};

using ViewList = std::vector<ProviderView>;

// Which commands the view shows, by whether a key is assigned (a virtual key
// other than 0; shift keys alone do not count).
struct ViewFilter {
  std::u16string_view text;  // searched in the command names only
  bool showAssigned = true;
  bool showUnassigned = true;
};

// Fills the empty `view` from `source`: one provider view for every provider
// that has a tree, in list order, holding each command whose name contains
// the filter text (only A-Z compared without case) and whose assignment is
// shown. Categories keep their order and are left out when no command of
// theirs passes. A failure with one provider (memory) leaves its provider view
// with what it has and goes on with the next.
void BuildView(const ProviderList& source, ViewList& view, const ViewFilter& filter);

// Destroys the view's trees and empties it; the providers' trees stay.
void ClearView(ViewList& view);

// Clears the key and shift keys of every command of every provider's tree,
// also of those the view hides; active modes stay.
void ClearAllShortcuts(const ProviderList& source);

// The category at `position` in the walk over every view tree's categories,
// provider view by provider view, or null when there are fewer (or position < 0).
// The provider view it belongs to is written to *owner when that is not null.
Category* CategoryByIndex(const ViewList& view, int position, const ProviderView** owner = nullptr);

// True while some provider's slot still holds `tree`. A provider that is
// unregistered or destroys its tree while the dialog is open takes it out of
// the list, and the view must then no longer write through to it.
bool ProviderHoldsTree(const ProviderList& source, const UIData* tree);

}  // namespace loomkeys
