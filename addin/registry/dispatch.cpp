// What happens when a bound key is pressed.
#include <algorithm>

#include "registry/callback_text.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

// What a callback receives, copied out of its entry before the call: the
// callback may remove or rename its own entry while it runs.
struct PendingCall {
  ShortcutCallback callback;
  CallbackText nameSpace;
  CallbackText context;
  uint16_t virtualKey;
  uint16_t shiftKeys;
  uint32_t shortcutId;
};

}  // namespace

bool ShortcutRegistry::DispatchHotKey(uintptr_t, uintptr_t lParam, ClientCodeGuard& guard, ErrorBoxes& boxes) {
  LockHold hold(lock_);
  const auto code = static_cast<KeyCode>(lParam);
  auto findKey = [&] {
    return std::find_if(keys_.begin(), keys_.end(), [code](const KeyEntries& k) { return k.keyCode == code; });
  };
  auto key = findKey();
  if (key == keys_.end()) return false;

  // The entries of this press, by id: ids are never reused, so an id that is
  // gone from the key after a callback ran means its entry was removed.
  std::vector<uint32_t> ids;
  ids.reserve(key->entries.size());
  for (const auto& entry : key->entries) ids.push_back(entry->FShortcutId);

  for (uint32_t id : ids) {
    key = findKey();
    if (key == keys_.end()) break;
    auto entry = std::find_if(key->entries.begin(), key->entries.end(),
                              [id](const auto& e) { return e->FShortcutId == id; });
    if (entry == key->entries.end()) continue;
    const TRegistryEntry& current = **entry;
    // An entry without a callback has nothing to call; it is skipped.
    if (!current.FShortcutCallbackFunc) continue;

    const PendingCall call{current.FShortcutCallbackFunc, CallbackText(current.FNamespace),
                           CallbackText(current.FContext), current.FVirtualKey, current.FShiftKeys,
                           current.FShortcutId};
    const auto error = guard.Run([&call] {
      call.callback(call.nameSpace.Text(), call.virtualKey, call.shiftKeys, call.context.Text(), call.shortcutId);
    });
    if (error) boxes.ShowError(u"Keyloom Exception", *error);
  }
  return true;
}

}  // namespace loomkeys
