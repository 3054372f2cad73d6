// Which keys are live in an active mode.
#include "debuglog/debug_log.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {

void ShortcutRegistry::ApplyActiveMode(WindowHandle window, uint16_t mode) {
  LockHold hold(lock_);
  // The tick runs every 50 ms and almost always finds what the last one
  // found. Sets built again from the same registry for the same mode would
  // be the same, and a hot-key table that has not changed since it applied
  // them would make no call for them, whatever the window: only the log
  // line remains.
  const AppliedTick now = TickFor(mode);
  if (now != applied_) {
    applied_.done = false;  // until the new sets have been applied
    enabledKeys_.clear();
    disabledKeys_.clear();
    // Keys from the last to the first. A key goes to the enabled set when at
    // least one of its entries wants the mode, else to the disabled set; the
    // order is that of this backward walk. All entries of a key share its
    // virtual key, so a key with virtual key 0 takes no part at all.
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
      if (KeyCodeVirtualKey(key->keyCode) == 0) continue;
      const bool wanted = (key->entries.WantedModes() & mode) != 0;
      (wanted ? enabledKeys_ : disabledKeys_).push_back(key->keyCode);
    }
  }
  DebugLog("EnabledVirtualKeys = %d, DisabledVirtualKeys = %d",
           {static_cast<int64_t>(enabledKeys_.size()), static_cast<int64_t>(disabledKeys_.size())});
  if (now == applied_) return;
  hotKeys_.ApplyKeySets(window, enabledKeys_, disabledKeys_);
  applied_ = now;
  applied_.tableVersion = hotKeys_.Version();
}

bool ShortcutRegistry::KeySetsApplied(uint16_t mode) {
  LockHold hold(lock_);
  return TickFor(mode) == applied_;
}

}  // namespace loomkeys
