#include "customize/also_assigned.h"

#include <string>

#include "customize/hotkey_flags.h"
#include "hotkeys/key_code.h"

namespace loomkeys {
namespace {

// The shift keys the key field can show; others (MOD_WIN) are not compared.
constexpr uint16_t kShownShiftKeys = kModAlt | kModControl | kModShift;

std::u16string Count(size_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string AlsoAssignedNotice(const ProviderList& providers, const Command* selected, uint16_t hotKey,
                                  uint16_t modes) {
  const uint8_t virtualKey = HotKeyVirtualKey(hotKey);
  if (virtualKey == 0) return {};
  const uint16_t shiftKeys = ShiftKeysFromHotKeyFlags(HotKeyFlags(hotKey));
  const Category* firstCategory = nullptr;
  const Command* first = nullptr;
  size_t matches = 0;
  for (size_t i = 0; i < providers.Count(); ++i) {
    const UIData* tree = providers.At(i)->tree;
    if (!tree) continue;
    for (const auto& category : tree->categories) {
      for (const auto& command : category->commands) {
        if (command.get() == selected || command->virtualKey != virtualKey ||
            (command->shiftKeys & kShownShiftKeys) != shiftKeys || (command->activeMode & modes) == 0) {
          continue;
        }
        if (matches++ == 0) {
          firstCategory = category.get();
          first = command.get();
        }
      }
    }
  }
  if (!first) return {};
  std::u16string notice = u"Also assigned to \"" + first->name + u"\" (" + firstCategory->name + u")";
  if (matches > 1) notice += u" and " + Count(matches - 1) + u" more";
  return notice;
}

}  // namespace loomkeys
