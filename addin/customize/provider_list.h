#pragma once
// ProviderList: every registered UI provider, in the order in which the
// Customize dialog asks them for their trees, lists their categories and
// tells them the outcome. It has no lock: it is used from the thread that
// loaded the library only.
//
// Provider events run while the list is walked and may register or
// unregister providers, so walkers go by index and read Count() again before
// every step; an entry may be gone after any call into a client (Contains).
#include <cstddef>
#include <memory>
#include <vector>

#include "common/result_codes.h"
#include "customize/provider_entry.h"
#include "customize/ui_data.h"

namespace loomkeys {

enum class ProviderPlacement { kBack, kFront };

class ProviderList {
 public:
  ProviderList() = default;
  ProviderList(const ProviderList&) = delete;
  ProviderList& operator=(const ProviderList&) = delete;

  // Copies the record at `record` (read at its fixed offsets) into a new
  // entry and adds it at the back or the front; repeats are not detected.
  // 0 and *handle is the entry; 7 with *handle untouched when the version is
  // neither 10 nor 20 or a pointer is null; 7 with *handle null when the
  // registration failed on the way.
  Result Register(const void* record, TUIProviderEntry** handle, ProviderPlacement placement);
  // Removes and frees the entry that is `handle` itself: 0, or 8 when it is
  // not in the list. The entry's tree is not looked at.
  Result Unregister(const TUIProviderEntry* handle);

  size_t Count() const { return entries_.size(); }
  TUIProviderEntry* At(size_t index) const { return entries_[index].get(); }
  bool Contains(const TUIProviderEntry* entry) const;
  // The entry with this serial, or null once it has been unregistered.
  TUIProviderEntry* FindBySerial(uint64_t serial) const;

  // Clears every slot that holds `data`. Called when a tree is destroyed, so
  // that no entry keeps the handle of a freed tree, which a later tree could
  // reuse.
  void ForgetUIData(const TUIData* data);

 private:
  std::vector<std::unique_ptr<TUIProviderEntry>> entries_;
  uint64_t lastSerial_ = 0;
};

}  // namespace loomkeys
