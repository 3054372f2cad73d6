// Builds arbitrary registry contents (registrations, removals and renames in
// three namespaces that share keys), then saves namespace A in both layouts,
// unloads it and loads each blob back. The reload must give back A's
// entries key by key, in order, with contexts and (second layout) modes;
// when A shares no key with another namespace, in full registry order too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz_check.h"

using namespace loomkeys;

namespace {

const char* const kNamespaces[] = {"A", "B", ""};

struct Item {
  KeyCode key;
  uint16_t mode;
  std::string context;
  bool operator==(const Item&) const = default;
};

// The namespace's entries in registry order.
std::vector<Item> ItemsOf(const ShortcutRegistry& registry, std::string_view nameSpace) {
  std::vector<Item> items;
  for (const KeyEntries& key : registry.Keys()) {
    for (const auto& entry : key.entries) {
      if (entry->nameSpace == nameSpace) items.push_back({key.keyCode, entry->activeMode, entry->context});
    }
  }
  return items;
}

// Every entry of the other namespaces, with its id, in registry order.
std::vector<std::tuple<std::string, uint32_t, Item>> Others(const ShortcutRegistry& registry) {
  std::vector<std::tuple<std::string, uint32_t, Item>> others;
  for (const KeyEntries& key : registry.Keys()) {
    for (const auto& entry : key.entries) {
      if (entry->nameSpace == "A") continue;
      others.emplace_back(entry->nameSpace, entry->shortcutId, Item{key.keyCode, entry->activeMode, entry->context});
    }
  }
  return others;
}

// What a reload into an emptied namespace keeps: on each key the first
// record loads, and a later one only when its context differs from that
// first one's (the namespace's earliest entry on the key is compared).
std::vector<Item> ExpectedReload(const std::vector<Item>& saved, bool keepModes) {
  std::map<KeyCode, std::string> earliest;
  std::vector<Item> kept;
  for (Item item : saved) {
    auto [first, isNew] = earliest.try_emplace(item.key, item.context);
    if (!isNew && first->second == item.context) continue;
    if (!keepModes) item.mode = kEveryMode;
    kept.push_back(item);
  }
  return kept;
}

std::map<KeyCode, std::vector<Item>> ByKey(const std::vector<Item>& items) {
  std::map<KeyCode, std::vector<Item>> grouped;
  for (const Item& item : items) grouped[item.key].push_back(item);
  return grouped;
}

std::string Save(ShortcutRegistry& registry, BlobLayout layout) {
  std::string text(registry.GetNamespaceDataSize("A", layout), '\0');
  uint32_t size = static_cast<uint32_t>(text.size());
  if (!text.empty()) {
    uint32_t tooSmall = size - 1;
    FUZZ_CHECK(registry.GetNamespaceData("A", layout, text.data(), &tooSmall) == kBufferTooSmall);
    FUZZ_CHECK(tooSmall == size);
  }
  const Result result = registry.GetNamespaceData("A", layout, text.data(), &size);
  FUZZ_CHECK(result == (text.empty() ? kNoEntries : kOk));
  FUZZ_CHECK(size == text.size());
  return text;
}

void Build(FuzzedDataProvider& input, ShortcutRegistry& registry) {
  uint32_t lastId = 0;
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
      case 0:
        registry.UnregisterShortcut(input.ConsumeIntegralInRange<uint32_t>(1, lastId + 1));
        break;
      case 1: {
        const char* from = input.PickValueInArray(kNamespaces);
        registry.NamespaceRename(from, input.PickValueInArray(kNamespaces));
        break;
      }
      default: {
        // Mostly a few keys, so that namespaces share them.
        const bool few = input.ConsumeBool();
        const auto vk = few ? input.ConsumeIntegralInRange<uint16_t>(0x41, 0x43) : input.ConsumeIntegral<uint16_t>();
        const auto sk = few ? input.ConsumeIntegralInRange<uint16_t>(0, 1) : input.ConsumeIntegral<uint16_t>();
        const auto mode = input.ConsumeIntegral<uint16_t>();
        const char* nameSpace = input.PickValueInArray(kNamespaces);
        const std::string context = input.ConsumeRandomLengthString(40);
        registry.RegisterShortcut2(nameSpace, vk, sk, mode, nullptr, context, &lastId);
      }
    }
  }
}

void CheckReload(ShortcutRegistry& registry, const testing::FakeHotKeySystem& system, BlobLayout layout,
                 const std::string& text, const std::vector<Item>& saved, bool shared) {
  const auto others = Others(registry);
  registry.UnloadNamespace("A");
  FUZZ_CHECK(ItemsOf(registry, "A").empty());
  FUZZ_CHECK(Others(registry) == others);
  fuzz::CheckRegistryIsSound(registry, system);

  if (!text.empty()) FUZZ_CHECK(registry.LoadNamespace("A", layout, nullptr, text) == kOk);
  FUZZ_CHECK(Others(registry) == others);
  fuzz::CheckRegistryIsSound(registry, system);
  const auto expected = ExpectedReload(saved, layout == BlobLayout::kWithActiveMode);
  const auto reloaded = ItemsOf(registry, "A");
  FUZZ_CHECK(ByKey(reloaded) == ByKey(expected));
  if (!shared) FUZZ_CHECK(reloaded == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  testing::FakeHotKeySystem system;
  HotKeyTable table(system);
  ShortcutRegistry registry(table, reinterpret_cast<WindowHandle>(1));
  Build(input, registry);
  fuzz::CheckRegistryIsSound(registry, system);

  const std::vector<Item> saved = ItemsOf(registry, "A");
  bool shared = false;
  for (const auto& [name, id, item] : Others(registry)) shared |= ByKey(saved).count(item.key) != 0;

  const std::string second = Save(registry, BlobLayout::kWithActiveMode);
  const std::string first = Save(registry, BlobLayout::kWithoutActiveMode);
  FUZZ_CHECK(second.size() == first.size() + 4 * saved.size());
  CheckReload(registry, system, BlobLayout::kWithActiveMode, second, saved, shared);
  CheckReload(registry, system, BlobLayout::kWithoutActiveMode, first, saved, shared);
  return 0;
}
