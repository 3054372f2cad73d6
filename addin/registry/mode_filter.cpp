// Which keys are live in an active mode.
#include <algorithm>

#include "debuglog/debug_log.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {

void ShortcutRegistry::ApplyActiveMode(WindowHandle window, uint16_t mode) {
  LockHold hold(lock_);
  enabledKeys_.clear();
  disabledKeys_.clear();
  // Keys from the last to the first. A key goes to the enabled set when at
  // least one of its entries wants the mode, else to the disabled set; the
  // order is that of this backward walk. All entries of a key share its
  // virtual key, so a key with virtual key 0 takes no part at all.
  for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
    if (KeyCodeVirtualKey(key->keyCode) == 0) continue;
    const bool wanted = std::any_of(key->entries.begin(), key->entries.end(),
                                    [mode](const auto& entry) { return (entry->FActiveMode & mode) != 0; });
    (wanted ? enabledKeys_ : disabledKeys_).push_back(key->keyCode);
  }
  DebugLog("EnabledVirtualKeys = %d, DisabledVirtualKeys = %d",
           {static_cast<int64_t>(enabledKeys_.size()), static_cast<int64_t>(disabledKeys_.size())});
  hotKeys_.ApplyKeySets(window, enabledKeys_, disabledKeys_);
}

}  // namespace loomkeys
