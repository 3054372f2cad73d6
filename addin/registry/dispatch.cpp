// What happens when a bound key is pressed.
#include <memory>

#include "registry/callback_text.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

// What a callback receives, taken out of its entry before the call: the
// callback may remove or rename its own entry while it runs.
struct PendingCall {
  ShortcutCallback callback;
  std::shared_ptr<const CallbackTexts> texts;
  uint16_t virtualKey;
  uint16_t shiftKeys;
  uint32_t shortcutId;
};

// Calls the entry's callback, if it has one.
void CallEntry(RegistryEntry& entry, ClientCodeGuard& guard, ErrorBoxes& boxes) {
  if (!entry.callback) return;
  if (!entry.callbackTexts) {
    entry.callbackTexts = std::make_shared<const CallbackTexts>(
        CallbackTexts{CallbackText(entry.nameSpace), CallbackText(entry.context)});
  }
  const PendingCall call{entry.callback, entry.callbackTexts, entry.virtualKey, entry.shiftKeys, entry.shortcutId};
  const auto error = guard.Run([&call] {
    call.callback(call.texts->nameSpace.Text(), call.virtualKey, call.shiftKeys, call.texts->context.Text(),
                  call.shortcutId);
  });
  if (error) boxes.ShowError(u"Keyloom Exception", *error);
}

}  // namespace

bool ShortcutRegistry::DispatchHotKey(KeyCode pressed, ClientCodeGuard& guard, ErrorBoxes& boxes) {
  LockHold hold(lock_);
  auto key = keyIndex_.find(pressed);
  if (key == keyIndex_.end()) return false;

  // A callback may remove entries (its own included), add some, or even
  // remove the key and register it again. Every entry is filed under a
  // sequence number that is never handed out again, so the press walks the
  // key's entries by number, finding the key anew after each call: an entry
  // removed meanwhile is not found any more, and entries added meanwhile
  // have numbers above the last one given out before the press.
  const uint64_t lastBeforePress = registrations_;
  uint64_t called = 0;
  while (key != keyIndex_.end()) {
    const auto* filed = key->second->entries.FiledAfter(called);
    if (!filed || filed->first > lastBeforePress) break;
    called = filed->first;
    CallEntry(*filed->second, guard, boxes);
    key = keyIndex_.find(pressed);
  }
  return true;
}

}  // namespace loomkeys
