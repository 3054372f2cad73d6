// The product's registry and hot-key table, with their indexes and the
// tick that only logs when nothing changed, against the reference algorithms
// (testing/reference): random operation sequences run on both, over two
// recording fakes, and every step must give the same results, the same
// system calls in the same order, the same log lines, the same callbacks
// and the same registry afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake_os/fake_hotkey_system.h"
#include "fake_os/recording_client_code.h"
#include "fake_os/recording_debug_log.h"
#include "reference/reference_registry.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

using testing::FakeHotKeySystem;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);
WindowHandle const kOtherWindow = reinterpret_cast<WindowHandle>(0x5678);

// What one step showed: results, texts, and the callbacks that ran.
struct Outcome {
  std::vector<int64_t> numbers;
  std::vector<std::string> texts;
  std::vector<std::string> lines;  // debug log
  bool operator==(const Outcome&) const = default;
};

// The press callback of both sides. What it does depends only on the id it
// is called with, so both sides do the same when they call the same ids:
// remove itself or the next entry, add an entry to the key, unload or
// rename namespaces, press the key again from inside, or throw.
std::function<void(uint32_t id, uint16_t vk, uint16_t sk)> onPress;
Outcome* pressOutcome = nullptr;

std::string Counted(const char16_t* text) {
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
  return std::string(text, text + bytes / 2);
}

void LOOMKEYS_STDCALL Press(const char16_t* ns, uint16_t vk, uint16_t sk, const char16_t* context, uint32_t id) {
  pressOutcome->texts.push_back("call " + std::to_string(id) + " " + Counted(ns) + " " + Counted(context) + " " +
                                std::to_string(vk) + " " + std::to_string(sk));
  onPress(id, vk, sk);
}

void LOOMKEYS_STDCALL Other(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) {}

template <typename Registry>
void ReactToPress(Registry& registry, testing::CatchingClientCodeGuard& guard, testing::RecordingErrorBoxes& boxes,
                  uint32_t id, uint16_t vk, uint16_t sk, int& depth) {
  if (id % 5 == 0) registry.UnregisterShortcut(id);
  if (id % 5 == 1) registry.UnregisterShortcut(id + 1);
  if (id % 7 == 2) registry.RegisterShortcut2("D", vk, sk, 3, Press, "added", nullptr);
  if (id % 11 == 3) registry.UnloadNamespace("B");
  if (id % 13 == 4) registry.NamespaceRename("C", "A");
  if (id % 17 == 5 && depth == 0) {
    ++depth;
    registry.DispatchHotKey(MakeKeyCode(vk, sk), guard, boxes);
    --depth;
  }
  if (id % 19 == 6) throw std::runtime_error("callback " + std::to_string(id) + " failed");
}

struct ProductSide {
  using Table = HotKeyTable;
  using Registry = ShortcutRegistry;
  FakeHotKeySystem system;
  Table table{system};
  std::unique_ptr<Registry> registry = std::make_unique<Registry>(table, kWindow);

  // The registry in registry order: key, then each entry's fields.
  std::vector<std::string> Layout() const {
    std::vector<std::string> lines;
    for (const KeyEntries& key : registry->Keys()) {
      for (const RegistryEntry* entry : key.entries) lines.push_back(Describe(key.keyCode, *entry));
    }
    return lines;
  }
  static std::string Describe(KeyCode key, const RegistryEntry& entry) {
    return std::to_string(key) + " " + entry.nameSpace + " " + std::to_string(entry.virtualKey) + " " +
           std::to_string(entry.shiftKeys) + " " + std::to_string(entry.activeMode) + " " + entry.context + " " +
           std::to_string(entry.shortcutId) + (entry.callback == Press ? " press" : " other");
  }
};

struct ReferenceSide {
  using Table = reference::ReferenceHotKeyTable;
  using Registry = reference::ReferenceRegistry;
  FakeHotKeySystem system;
  Table table{system};
  std::unique_ptr<Registry> registry = std::make_unique<Registry>(table, kWindow);

  std::vector<std::string> Layout() const {
    std::vector<std::string> lines;
    for (size_t k = 0; k < registry->KeyList().size(); ++k) {
      for (const auto& entry : registry->EntryLists()[k]) {
        lines.push_back(ProductSide::Describe(registry->KeyList()[k], *entry));
      }
    }
    return lines;
  }
};

enum class Kind {
  kRegister,
  kUnregister,
  kInfoById,
  kInfoByContext,
  kCount,
  kData,
  kSave,
  kLoad,
  kLoadSaved,
  kUnload,
  kRename,
  kTick,
  kPress,
  kSuspend,
  kResume,
  kRefuse,
  kFailAtoms
};

struct Step {
  Kind kind;
  std::string nameSpace, other, context, text;
  uint16_t virtualKey = 0, shiftKeys = 0, mode = 0;
  uint32_t number = 0;
  BlobLayout layout = BlobLayout::kWithoutActiveMode;
  WindowHandle window = kWindow;
  bool flag = false;
};

// Random steps over a small world of names and keys, so that keys are
// shared, duplicates and refusals happen, and namespaces collide.
class StepMaker {
 public:
  explicit StepMaker(uint32_t seed) : random_(seed) {}

  Step Next(uint32_t idsSoFar) {
    Step step;
    const int roll = Pick(100);
    step.nameSpace = Any({"A", "B", "C", ""});
    step.other = Any({"A", "B", "C", "E"});
    step.context = Any({"", "x", "y", "zz"});
    step.virtualKey = static_cast<uint16_t>(Pick(8) == 0 ? 0 : 0x41 + Pick(6));
    step.shiftKeys = static_cast<uint16_t>(Any({0, 2, 6}));
    step.mode = static_cast<uint16_t>(Any({0, 1, 2, 3, 0xFFFF}));
    step.number = static_cast<uint32_t>(Pick(static_cast<int>(idsSoFar) + 3));
    step.layout = Pick(2) ? BlobLayout::kWithActiveMode : BlobLayout::kWithoutActiveMode;
    step.window = Pick(10) == 0 ? kOtherWindow : kWindow;
    step.flag = Pick(2) == 0;
    if (roll < 30) step.kind = Kind::kRegister;
    else if (roll < 40) step.kind = Kind::kUnregister;
    else if (roll < 43) step.kind = Kind::kInfoById;
    else if (roll < 46) step.kind = Kind::kInfoByContext;
    else if (roll < 48) step.kind = Kind::kCount;
    else if (roll < 51) step.kind = Kind::kData;
    else if (roll < 54) step.kind = Kind::kSave;
    else if (roll < 56) step.kind = Kind::kLoad;
    else if (roll < 59) step.kind = Kind::kLoadSaved;
    else if (roll < 62) step.kind = Kind::kUnload;
    else if (roll < 65) step.kind = Kind::kRename;
    else if (roll < 85) step.kind = Kind::kTick;
    else if (roll < 93) step.kind = Kind::kPress;
    else if (roll < 95) step.kind = Kind::kSuspend;
    else if (roll < 97) step.kind = Kind::kResume;
    else if (roll < 99) step.kind = Kind::kRefuse;
    else step.kind = Kind::kFailAtoms;
    if (step.kind == Kind::kTick) step.mode = static_cast<uint16_t>(Any({0, 1, 1, 1, 2, 2}));
    if (step.kind == Kind::kLoad) step.text = RandomBlobText();
    return step;
  }

 private:
  int Pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }
  template <typename T>
  T Any(std::initializer_list<T> choices) {
    return choices.begin()[Pick(static_cast<int>(choices.size()))];
  }
  // A blob text of a few records, now and then damaged or cut short.
  std::string RandomBlobText() {
    std::string text = Pick(6) == 0 ? "1E000000" : "14000000";
    for (int records = Pick(4); records > 0; --records) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      text += std::string("4") + kHex[1 + Pick(6)] + "00" + (Pick(2) ? "0200" : "0600");
      text += Pick(2) ? "0100" : "0300";  // an active mode when read by the second layout
      text += "01000000";
      text += Pick(2) ? "78" : "79";
    }
    if (Pick(8) == 0) text.pop_back();
    if (Pick(10) == 0) text += "4G";
    return text;
  }

  std::mt19937 random_;
};

// One world: a side and what its callbacks and boxes saw, plus its last save.
template <typename Side>
struct World {
  Side side;
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
  std::string saved = "14000000";
  int depth = 0;

  Outcome Run(const Step& step, testing::RecordingDebugLog& log) {
    log.lines.clear();
    const size_t callsBefore = side.system.Calls().size();
    Outcome outcome;
    pressOutcome = &outcome;
    onPress = [this](uint32_t id, uint16_t vk, uint16_t sk) {
      ReactToPress(*side.registry, guard, boxes, id, vk, sk, depth);
    };
    auto& registry = *side.registry;
    auto number = [&outcome](int64_t value) { outcome.numbers.push_back(value); };
    switch (step.kind) {
      case Kind::kRegister: {
        uint32_t id = 0;
        number(registry.RegisterShortcut2(step.nameSpace, step.virtualKey, step.shiftKeys, step.mode,
                                          step.flag ? Press : Other, step.context, &id));
        number(id);
        break;
      }
      case Kind::kUnregister:
        number(registry.UnregisterShortcut(step.number));
        break;
      case Kind::kInfoById: {
        ShortcutInfo info;
        number(registry.GetShortcutInfoByShortcutId(step.number, &info));
        number(info.virtualKey), number(info.shiftKeys), number(info.activeMode);
        break;
      }
      case Kind::kInfoByContext: {
        ShortcutInfo info;
        number(registry.GetShortcutInfoByContext(step.nameSpace, step.context, &info));
        number(info.virtualKey), number(info.shiftKeys), number(info.activeMode), number(info.shortcutId);
        break;
      }
      case Kind::kCount:
        number(registry.GetShortcutCount(step.nameSpace));
        break;
      case Kind::kData: {
        uint32_t size = 0, id = 0;
        number(registry.GetShortcutDataSize(step.nameSpace, step.number % 4, &size));
        char buffer[8] = {};
        uint32_t room = step.flag ? 1 : sizeof buffer;
        number(registry.GetShortcutData(step.nameSpace, step.number % 4, buffer, &room, &id));
        number(size), number(room), number(id);
        outcome.texts.emplace_back(buffer, sizeof buffer);
        break;
      }
      case Kind::kSave: {
        const uint32_t size = registry.GetNamespaceDataSize(step.nameSpace, step.layout);
        std::string text(size, '#');
        uint32_t room = size;
        number(size);
        number(registry.GetNamespaceData(step.nameSpace, step.layout, text.data(), &room));
        number(room);
        outcome.texts.push_back(text);
        if (size) saved = text;
        break;
      }
      case Kind::kLoad:
        number(registry.LoadNamespace(step.nameSpace, step.layout, Press, step.text));
        break;
      case Kind::kLoadSaved:
        number(registry.LoadNamespace(step.nameSpace, step.layout, Press, saved));
        break;
      case Kind::kUnload:
        registry.UnloadNamespace(step.nameSpace);
        break;
      case Kind::kRename:
        registry.NamespaceRename(step.nameSpace, step.other);
        break;
      case Kind::kTick:
        registry.ApplyActiveMode(step.window, step.mode);
        break;
      case Kind::kPress:
        boxes.shown.clear();
        number(registry.DispatchHotKey(MakeKeyCode(step.virtualKey, step.shiftKeys), guard, boxes));
        for (const auto& box : boxes.shown) outcome.texts.emplace_back(box.text.begin(), box.text.end());
        break;
      case Kind::kSuspend:
        side.table.SuspendHotKeys(kWindow);
        break;
      case Kind::kResume:
        side.table.ResumeHotKeys(kWindow);
        break;
      case Kind::kRefuse:
        side.system.Refuse(step.virtualKey, step.shiftKeys);
        break;
      case Kind::kFailAtoms:
        side.system.FailAtoms(step.flag);
        break;
    }
    for (size_t i = callsBefore; i < side.system.Calls().size(); ++i) {
      const testing::HotKeyCall& call = side.system.Calls()[i];
      outcome.texts.push_back("system " + std::to_string(call.kind) + " " + std::to_string(call.id) + " " +
                              std::to_string(call.key) + " " + call.atomName);
    }
    outcome.lines = log.lines;
    outcome.texts.push_back(std::to_string(side.table.HotKeysActive()));
    for (const std::string& line : side.Layout()) outcome.texts.push_back(line);
    for (const auto& [key, entry] : side.table.Snapshot()) {
      outcome.texts.push_back("table " + std::to_string(key) + " " + std::to_string(entry.keyAtom) + " " +
                              std::to_string(entry.active) + std::to_string(entry.refused));
    }
    for (KeyCode key : side.system.BoundKeys()) outcome.texts.push_back("bound " + std::to_string(key));
    return outcome;
  }
};

// What a step was, for the failure message.
std::string Name(Kind kind) {
  static const char* const kNames[] = {"register", "unregister", "info by id", "info by context", "count",     "data",
                                       "save",     "load",       "load saved", "unload",          "rename",    "tick",
                                       "press",    "suspend",    "resume",     "refuse",          "fail atoms"};
  return kNames[static_cast<int>(kind)];
}

TEST(ReferenceEquivalenceTest, RandomOperationSequencesGiveTheSameResultsCallsAndLogLinesAsTheReferenceAlgorithm) {
  testing::RecordingDebugLog log;
  size_t ticks = 0, presses = 0, calls = 0;
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    World<ProductSide> product;
    World<ReferenceSide> reference;
    StepMaker maker(seed);
    uint32_t ids = 0;
    for (int n = 0; n < 300; ++n) {
      const Step step = maker.Next(ids);
      const Outcome fromProduct = product.Run(step, log);
      const Outcome fromReference = reference.Run(step, log);
      ASSERT_EQ(fromProduct, fromReference) << "seed " << seed << ", step " << n << ": " << Name(step.kind);
      if (step.kind == Kind::kRegister && fromProduct.numbers[0] == kOk)
        ids = static_cast<uint32_t>(fromProduct.numbers[1]);
      ticks += step.kind == Kind::kTick;
      presses += step.kind == Kind::kPress && fromProduct.numbers[0];
    }
    log.lines.clear();
    const size_t before = product.side.system.Calls().size(), referenceBefore = reference.side.system.Calls().size();
    product.side.registry.reset();
    reference.side.registry.reset();
    ASSERT_EQ(std::vector(product.side.system.Calls().begin() + before, product.side.system.Calls().end()),
              std::vector(reference.side.system.Calls().begin() + referenceBefore, reference.side.system.Calls().end()))
        << "seed " << seed << ": destroying the registry";
    calls += product.side.system.Calls().size();
  }
  // The runs did reach what they are meant to compare.
  EXPECT_GT(ticks, 1000u);
  EXPECT_GT(presses, 100u);
  EXPECT_GT(calls, 1000u);
}

}  // namespace
}  // namespace loomkeys
