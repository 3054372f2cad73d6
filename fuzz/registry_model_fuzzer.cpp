// Drives the shortcut registry and the UI data with a random sequence of the
// calls that the exports make, and checks every answer against a plain model:
// results, ids, contexts, registry order (through the saved blob text), the
// keys bound in the system, and the commands of a UI data tree.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "customize/ui_data_api.h"
#include "fuzz_check.h"
#include "registry/namespace_blob.h"

namespace loomkeys {
namespace {

const char* const kNamespaces[] = {"", "A", "B", "a"};
const char* const kContexts[] = {"", "x", "y", "long context"};

struct ModelEntry {
  std::string nameSpace, context;
  uint16_t mode;
  uint32_t id;
};
struct ModelKey {
  KeyCode code;
  std::vector<ModelEntry> entries;
  bool bound;
};

// The registry as a list of keys in registry order, each with its entries.
class Model {
 public:
  std::vector<ModelKey> keys;
  uint32_t lastId = 0;

  Result Register(const std::string& ns, KeyCode code, uint16_t mode, const std::string& ctx, bool refused) {
    auto key = Find(code);
    if (key != keys.end()) {
      for (const ModelEntry& entry : key->entries) {
        if (entry.nameSpace != ns) continue;
        if (entry.context == ctx) return kDuplicate;
        break;
      }
    } else {
      if (refused) return kKeyNotBound;
      keys.push_back({code, {}, true});
      key = keys.end() - 1;
    }
    key->entries.push_back({ns, ctx, mode, ++lastId});
    return kOk;
  }
  Result Unregister(uint32_t id) {
    for (auto key = keys.begin(); key != keys.end(); ++key) {
      auto entry = std::find_if(key->entries.begin(), key->entries.end(), [id](auto& e) { return e.id == id; });
      if (entry == key->entries.end()) continue;
      key->entries.erase(entry);
      if (key->entries.empty()) keys.erase(key);
      return kOk;
    }
    return kUnknownShortcutId;
  }
  void Unload(const std::string& ns) {
    for (ModelKey& key : keys) {
      std::erase_if(key.entries, [&](const ModelEntry& e) { return e.nameSpace == ns; });
    }
    std::erase_if(keys, [](const ModelKey& k) { return k.entries.empty(); });
  }
  void Rename(const std::string& from, const std::string& to) {
    for (ModelKey& key : keys) {
      for (ModelEntry& entry : key.entries) {
        if (entry.nameSpace == from) entry.nameSpace = to;
      }
    }
  }
  void Apply(uint16_t mode) {
    for (ModelKey& key : keys) {
      if (KeyCodeVirtualKey(key.code) == 0) continue;
      key.bound = std::any_of(key.entries.begin(), key.entries.end(), [mode](auto& e) { return e.mode & mode; });
    }
  }
  uint32_t Count(const std::string& ns) const {
    uint32_t count = 0;
    for (const ModelKey& key : keys) {
      for (const ModelEntry& entry : key.entries) count += entry.nameSpace == ns;
    }
    return count;
  }
  // The namespace's blob text in the second layout, in registry order.
  std::string BlobText(const std::string& ns) const {
    std::vector<uint8_t> raw;
    auto put = [&raw](uint64_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) raw.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    put(20, 4);
    for (const ModelKey& key : keys) {
      for (const ModelEntry& entry : key.entries) {
        if (entry.nameSpace != ns) continue;
        put(KeyCodeVirtualKey(key.code), 2);
        put(KeyCodeShiftKeys(key.code), 2);
        put(entry.mode, 2);
        put(entry.context.size(), 4);
        raw.insert(raw.end(), entry.context.begin(), entry.context.end());
      }
    }
    return Count(ns) ? BytesToHexText(raw) : std::string();
  }
  std::vector<KeyCode> Bound() const {
    std::vector<KeyCode> bound;
    for (const ModelKey& key : keys) {
      if (key.bound) bound.push_back(key.code);
    }
    std::sort(bound.begin(), bound.end());
    return bound;
  }

 private:
  std::vector<ModelKey>::iterator Find(KeyCode code) {
    return std::find_if(keys.begin(), keys.end(), [code](const ModelKey& k) { return k.code == code; });
  }
};

void CheckAgainstModel(ShortcutRegistry& registry, const Model& model, const testing::FakeHotKeySystem& system) {
  FUZZ_CHECK(system.BoundKeys() == model.Bound());
  for (const char* ns : kNamespaces) {
    FUZZ_CHECK(registry.GetShortcutCount(ns) == model.Count(ns));
    const std::string expected = model.BlobText(ns);
    std::string text(expected.size(), '\0');
    uint32_t size = static_cast<uint32_t>(text.size());
    const Result result = registry.GetNamespaceData(ns, BlobLayout::kWithActiveMode, text.data(), &size);
    FUZZ_CHECK(result == (expected.empty() ? kNoEntries : kOk));
    FUZZ_CHECK(text == expected);
  }
}

// A tree and its model: category -> command -> (key, shift keys, mode).
void FuzzUIData(FuzzedDataProvider& input) {
  UIDataTrees trees;
  const UIDataHandle tree = trees.Create();
  std::map<std::u16string, std::map<std::u16string, std::array<uint16_t, 3>>> model;
  const char16_t* const names[] = {u"", u"Edit", u"edit", u"Format"};
  while (input.remaining_bytes() > 0) {
    const char16_t* category = names[input.ConsumeIntegralInRange(0, 3)];
    const char16_t* command = names[input.ConsumeIntegralInRange(0, 3)];
    if (input.ConsumeBool()) {
      const std::array<uint16_t, 3> fields{input.ConsumeIntegral<uint16_t>(), input.ConsumeIntegral<uint16_t>(),
                                           input.ConsumeIntegral<uint16_t>()};
      const bool exists = model[category].count(command) != 0;
      FUZZ_CHECK(AddCommand2(trees, tree, category, command, u"", fields[0], fields[1], fields[2]) ==
                 (exists ? kCommandExists : kOk));
      if (!exists) model[category][command] = fields;
    } else {
      uint16_t fields[3] = {1, 2, 3};
      const auto found = model.count(category) ? model[category].find(command) : model[category].end();
      const bool exists = model.count(category) && found != model[category].end();
      FUZZ_CHECK(GetCommand2(trees, tree, category, command, &fields[0], &fields[1], &fields[2]) ==
                 (exists ? kOk : kNoSuchCommand));
      if (exists) FUZZ_CHECK(std::equal(fields, fields + 3, found->second.begin()));
      if (model[category].empty()) model.erase(category);
    }
  }
}

}  // namespace
}  // namespace loomkeys

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace loomkeys;
  FuzzedDataProvider input(data, size);
  testing::FakeHotKeySystem system;
  HotKeyTable table(system);
  ShortcutRegistry registry(table, nullptr);
  Model model;
  system.Refuse(0x05, 0);  // another program holds this one
  std::vector<uint32_t> ids;

  const size_t operations = input.ConsumeIntegralInRange<size_t>(0, 64);
  for (size_t i = 0; i < operations && input.remaining_bytes() > 0; ++i) {
    const std::string ns = kNamespaces[input.ConsumeIntegralInRange(0, 3)];
    switch (input.ConsumeIntegralInRange(0, 4)) {
      case 0: {
        const KeyCode code =
            MakeKeyCode(input.ConsumeIntegralInRange<uint16_t>(0, 6), input.ConsumeIntegralInRange<uint16_t>(0, 2));
        const uint16_t mode = input.ConsumeIntegralInRange<uint16_t>(0, 3);
        const std::string ctx = kContexts[input.ConsumeIntegralInRange(0, 3)];
        uint32_t id = 0;
        const Result expected = model.Register(ns, code, mode, ctx, code == MakeKeyCode(0x05, 0));
        FUZZ_CHECK(registry.RegisterShortcut2(ns, KeyCodeVirtualKey(code), KeyCodeShiftKeys(code), mode, nullptr, ctx,
                                              &id) == expected);
        if (expected == kOk) {
          FUZZ_CHECK(id == model.lastId);
          ids.push_back(id);
        }
        break;
      }
      case 1: {
        const uint32_t id = ids.empty() ? 0 : ids[input.ConsumeIntegralInRange<size_t>(0, ids.size() - 1)];
        FUZZ_CHECK(registry.UnregisterShortcut(id) == model.Unregister(id));
        break;
      }
      case 2:
        registry.UnloadNamespace(ns);
        model.Unload(ns);
        break;
      case 3: {
        const std::string to = kNamespaces[input.ConsumeIntegralInRange(0, 3)];
        registry.NamespaceRename(ns, to);
        model.Rename(ns, to);
        break;
      }
      case 4: {
        const uint16_t mode = input.ConsumeIntegralInRange<uint16_t>(0, 2);
        registry.ApplyActiveMode(nullptr, mode);
        model.Apply(mode);
        break;
      }
    }
    CheckAgainstModel(registry, model, system);
  }
  FuzzUIData(input);
  return 0;
}
