#pragma once
// ProviderList: every registered UI provider, in the order in which the
// Customize dialog asks them for their trees, lists their categories and
// tells them the outcome. It has no lock: it is used from the thread that
// loaded the library only.
//
// Provider events run while the list is walked and may register or
// unregister providers, so walkers go by index and read Count() again before
// every step; a provider may be gone after any call into a client (Contains).
#include <cstddef>
#include <memory>
#include <vector>

#include "common/result_codes.h"
#include "customize/registered_provider.h"
#include "customize/ui_data.h"

namespace loomkeys {

enum class ProviderPlacement { kBack, kFront };

class ProviderList {
 public:
  ProviderList() = default;
  ProviderList(const ProviderList&) = delete;
  ProviderList& operator=(const ProviderList&) = delete;

  // Copies the record at `record` (read at its fixed offsets) into a new
  // provider and adds it at the back or the front; repeats are not detected.
  // 0 and *handle is the provider; 7 with *handle untouched when the version is
  // neither 10 nor 20 or a pointer is null; 7 with *handle null when the
  // registration failed on the way.
  Result Register(const void* record, RegisteredProvider** handle, ProviderPlacement placement);
  // Removes and frees the provider that is `handle` itself: 0, or 8 when it is
  // not in the list. The provider's tree is not looked at.
  Result Unregister(const RegisteredProvider* handle);

  size_t Count() const { return providers_.size(); }
  RegisteredProvider* At(size_t index) const { return providers_[index].get(); }
  bool Contains(const RegisteredProvider* provider) const;
  // The provider with this serial, or null once it has been unregistered.
  RegisteredProvider* FindBySerial(uint64_t serial) const;

  // Clears every slot that holds `data` (tree and handle). Called when a
  // tree is destroyed, so that no provider keeps a freed tree.
  void ForgetUIData(const UIData* data);

 private:
  std::vector<std::unique_ptr<RegisteredProvider>> providers_;
  uint64_t lastSerial_ = 0;
};

}  // namespace loomkeys
