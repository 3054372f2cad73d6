#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include "fake_os/recording_client_code.h"
#include "registry_fixture.h"

namespace loomkeys {
namespace {

struct Call {
  std::u16string nameSpace;
  uint16_t virtualKey;
  uint16_t shiftKeys;
  std::u16string context;
  uint32_t id;
  bool operator==(const Call&) const = default;
};

// Callbacks are plain function pointers; what they do is set per test.
std::vector<Call> calls;
std::function<void(uint32_t)> duringCall;

// Reads a callback string as Automation reads a BSTR: the length word as bytes.
std::u16string ReadCounted(const char16_t* text) {
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
  return std::u16string(text, bytes / 2);
}

void LOOMKEYS_STDCALL Recorder(const char16_t* ns, uint16_t vk, uint16_t sk, const char16_t* context, uint32_t id) {
  calls.push_back({ReadCounted(ns), vk, sk, ReadCounted(context), id});
  if (duringCall) duringCall(id);
}

class DispatchTest : public testing::RegistryFixture {
 protected:
  void SetUp() override {
    calls.clear();
    duringCall = nullptr;
  }
  bool Press(uint16_t vk, uint16_t sk) { return registry->DispatchHotKey(MakeKeyCode(vk, sk), guard, boxes); }
  std::vector<uint32_t> CalledIds() const {
    std::vector<uint32_t> ids;
    for (const Call& call : calls) ids.push_back(call.id);
    return ids;
  }
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
};

TEST_F(DispatchTest, APressCallsEveryEntryOfTheKeyInRegistrationOrderWhateverItsMode) {
  Register("Alpha", 0x41, 2, "first", kModeSlideDesign, Recorder);
  Register("Beta", 0x41, 2, "second", kModeSlideShow, Recorder);
  Register("Alpha", 0x41, 6, "other key", kEveryMode, Recorder);
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(calls, (std::vector<Call>{{u"Alpha", 0x41, 2, u"first", 1}, {u"Beta", 0x41, 2, u"second", 2}}));
}

TEST_F(DispatchTest, AKeyWithoutEntriesIsNotDispatched) {
  Register("Alpha", 0x41, 6, "", kEveryMode, Recorder);
  EXPECT_FALSE(Press(0x41, 2));
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DispatchTest, TheKeyOfAHotKeyMessageComesFromTheLowThirtyTwoBitsOfLParam) {
  Register("Alpha", 0x41, 2, "", kEveryMode, Recorder);
  const uint64_t lParam = (uint64_t{1} << 40) | MakeKeyCode(0x41, 2);
  EXPECT_TRUE(registry->DispatchHotKey(KeyCodeOfHotKeyMessage(lParam), guard, boxes));
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(DispatchTest, AnErrorInOneCallbackIsShownAndTheNextEntryStillRuns) {
  Register("Alpha", 0x41, 2, "", kEveryMode, Recorder);
  Register("Beta", 0x41, 2, "", kEveryMode, Recorder);
  duringCall = [](uint32_t id) {
    if (id == 1) throw std::runtime_error("macro failed");
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(boxes.shown, (std::vector<testing::ErrorBox>{{u"Keyloom Exception", u"macro failed"}}));
}

TEST_F(DispatchTest, AnEntryWithoutCallbackIsSkipped) {
  Register("Alpha", 0x41, 2, "", kEveryMode, nullptr);
  Register("Beta", 0x41, 2, "", kEveryMode, Recorder);
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), std::vector<uint32_t>{2});
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DispatchTest, EntriesRemovedDuringThePressAreNotCalledAndTheOthersAreCalledOnce) {
  for (const char* ns : {"A", "B", "C", "D"}) Register(ns, 0x41, 2, "", kEveryMode, Recorder);
  duringCall = [this](uint32_t id) {
    if (id == 2) {
      registry->UnregisterShortcut(2);  // itself
      registry->UnregisterShortcut(3);  // a later entry
    }
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), (std::vector<uint32_t>{1, 2, 4}));
}

TEST_F(DispatchTest, ACallbackThatUnloadsOrRenamesNamespacesDuringThePressIsSafe) {
  Register("A", 0x41, 2, "1", kEveryMode, Recorder);
  Register("B", 0x41, 2, "2", kEveryMode, Recorder);
  Register("A", 0x41, 2, "3", kEveryMode, Recorder);
  Register("C", 0x41, 2, "4", kEveryMode, Recorder);
  duringCall = [this](uint32_t id) {
    if (id == 1) registry->UnloadNamespace("A");  // itself and a later entry
    if (id == 2) registry->NamespaceRename("C", "D");
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(calls, (std::vector<Call>{{u"A", 0x41, 2, u"1", 1}, {u"B", 0x41, 2, u"2", 2}, {u"D", 0x41, 2, u"4", 4}}));
}

TEST_F(DispatchTest, RemovingTheKeysLastEntriesDuringThePressEndsItSafely) {
  Register("A", 0x41, 2, "", kEveryMode, Recorder);
  Register("B", 0x41, 2, "", kEveryMode, Recorder);
  duringCall = [this](uint32_t) {
    registry->UnregisterShortcut(1);
    registry->UnregisterShortcut(2);
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), std::vector<uint32_t>{1});
  EXPECT_TRUE(system.BoundKeys().empty());
}

TEST_F(DispatchTest, AKeyRemovedAndRegisteredAgainDuringThePressCallsItsNewEntryAtTheNextPress) {
  Register("A", 0x41, 2, "old", kEveryMode, Recorder);
  Register("B", 0x41, 2, "old", kEveryMode, Recorder);
  duringCall = [this](uint32_t id) {
    if (id != 1) return;
    registry->UnregisterShortcut(1);
    registry->UnregisterShortcut(2);
    Register("C", 0x41, 2, "new", kEveryMode, Recorder);
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), std::vector<uint32_t>{1});
  duringCall = nullptr;
  calls.clear();
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(calls, (std::vector<Call>{{u"C", 0x41, 2, u"new", 3}}));
}

// Reads its texts only after it has removed its own entry, which frees the
// entry at once (AddressSanitizer would see texts that went with it).
void LOOMKEYS_STDCALL RemoveItselfThenRecord(const char16_t* ns, uint16_t vk, uint16_t sk, const char16_t* context,
                                             uint32_t id) {
  if (duringCall) duringCall(id);
  calls.push_back({ReadCounted(ns), vk, sk, ReadCounted(context), id});
}

TEST_F(DispatchTest, ACallbackReadsItsTextsAfterRemovingItsOwnEntry) {
  Register("A", 0x41, 2, "first", kEveryMode, RemoveItselfThenRecord);
  Register("A", 0x41, 2, "second", kEveryMode, RemoveItselfThenRecord);
  EXPECT_TRUE(Press(0x41, 2));  // both entries' texts are made and kept
  calls.clear();
  duringCall = [this](uint32_t id) { registry->UnregisterShortcut(id); };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(calls, (std::vector<Call>{{u"A", 0x41, 2, u"first", 1}, {u"A", 0x41, 2, u"second", 2}}));
}

TEST_F(DispatchTest, APressAfterARenameGivesTheNewNamespace) {
  Register("A", 0x41, 2, "context", kEveryMode, Recorder);
  EXPECT_TRUE(Press(0x41, 2));
  registry->NamespaceRename("A", "Renamed");
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(calls, (std::vector<Call>{{u"A", 0x41, 2, u"context", 1}, {u"Renamed", 0x41, 2, u"context", 1}}));
}

TEST_F(DispatchTest, EntriesAddedDuringThePressWaitForTheNextPress) {
  Register("A", 0x41, 2, "x", kEveryMode, Recorder);
  duringCall = [this](uint32_t id) {
    if (id == 1) Register("A", 0x41, 2, "y", kEveryMode, Recorder);
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), std::vector<uint32_t>{1});
  duringCall = nullptr;
  calls.clear();
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), (std::vector<uint32_t>{1, 2}));
}

TEST_F(DispatchTest, ANestedPressOfTheSameKeyRunsInsideTheCallback) {
  Register("A", 0x41, 2, "", kEveryMode, Recorder);
  Register("B", 0x41, 2, "", kEveryMode, Recorder);
  // A message loop inside the first callback (an error box, a dialog) can
  // deliver the next press of the key before the first press is done.
  duringCall = [this](uint32_t id) {
    if (calls.size() == 1 && id == 1) Press(0x41, 2);
  };
  EXPECT_TRUE(Press(0x41, 2));
  EXPECT_EQ(CalledIds(), (std::vector<uint32_t>{1, 1, 2, 2}));
}

}  // namespace
}  // namespace loomkeys
