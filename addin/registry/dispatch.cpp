// What happens when a bound key is pressed.
#include <vector>

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

bool ShortcutRegistry::DispatchHotKey(KeyCode pressed, ClientCodeGuard& guard, ErrorBoxes& boxes) {
  LockHold hold(lock_);
  const auto key = keyIndex_.find(pressed);
  if (key == keyIndex_.end()) return false;

  // The entries of this press, by id: a callback may remove entries (its
  // own included) or add some. Ids are not handed out again while the
  // library is loaded, so an id that is gone after a callback ran means
  // that its entry was removed; entries added meanwhile are not in the list.
  std::vector<uint32_t> ids;
  ids.reserve(key->second->entries.size());
  for (const RegistryEntry* entry : key->second->entries) ids.push_back(entry->shortcutId);

  for (uint32_t id : ids) {
    const auto place = entryIndex_.find(id);
    if (place == entryIndex_.end()) continue;
    const RegistryEntry& current = *place->second.slot->second;
    // An entry without a callback has nothing to call; it is skipped.
    if (!current.callback) continue;

    const PendingCall call{current.callback,
                           CallbackText(current.nameSpace),
                           CallbackText(current.context),
                           current.virtualKey,
                           current.shiftKeys,
                           current.shortcutId};
    const auto error = guard.Run([&call] {
      call.callback(call.nameSpace.Text(), call.virtualKey, call.shiftKeys, call.context.Text(), call.shortcutId);
    });
    if (error) boxes.ShowError(u"Keyloom Exception", *error);
  }
  return true;
}

}  // namespace loomkeys
