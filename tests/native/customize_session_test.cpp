#include "customize/customize_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "customize/ui_data_api.h"
#include "fake_os/fake_hotkey_system.h"
#include "fake_os/recording_client_code.h"
#include "provider_records.h"

namespace loomkeys {
namespace {

using testing::ErrorBox;

// AddressSanitizer holds freed memory back from new allocations: there, no
// new tree reaches a freed tree's address.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOOMKEYS_QUARANTINED_HEAP
#endif
#endif

// What happened, in order: "create A", "destroy A 65535", "run Fill", "dialog", ...
std::vector<std::string> events;
// What a provider's events do besides being recorded, by provider name.
std::map<char, std::function<void(UIDataHandle*)>> onCreate;
std::map<char, std::function<void(UIDataHandle, uint16_t)>> onDestroy;
std::map<char, UIDataHandle> treeSeenAtDestroy;

template <char Name>
void LOOMKEYS_STDCALL Create(UIDataHandle* slot) {
  events.push_back(std::string("create ") + Name);
  if (onCreate[Name]) onCreate[Name](slot);
}

template <char Name>
void LOOMKEYS_STDCALL Destroy(UIDataHandle tree, uint16_t cancelled) {
  events.push_back(std::string("destroy ") + Name + " " + std::to_string(cancelled));
  treeSeenAtDestroy[Name] = tree;
  if (onDestroy[Name]) onDestroy[Name](tree, cancelled);
}

template <char Name>
std::vector<std::byte> Native() {
  return NativeRecord(Address(reinterpret_cast<void (*)()>(&Create<Name>)),
                      Address(reinterpret_cast<void (*)()>(&Destroy<Name>)));
}

// Runs macros as the host would: an empty name is no macro.
class FakeMacros : public MacroRunner {
 public:
  std::optional<std::u16string> RunCreateMacro(std::string_view macro, UIDataHandle tree) override {
    events.push_back("run " + std::string(macro));
    if (macro.empty()) return u"Macro not found";
    if (during) during(tree);
    return std::nullopt;
  }
  std::optional<std::u16string> RunDestroyMacro(std::string_view macro, UIDataHandle tree, bool cancelled) override {
    events.push_back("run " + std::string(macro) + (cancelled ? " true" : " false"));
    if (macro == "FailToRead") return u"Read failed";
    if (during) during(tree);
    return std::nullopt;
  }
  std::function<void(UIDataHandle)> during;
};

class FakeDialog : public CustomizeDialog {
 public:
  bool Run(ProviderList& providers) override {
    events.push_back("dialog");
    for (size_t i = 0; i < providers.Count(); ++i) {
      const UIData* tree = providers.At(i)->tree;
      treesShown.push_back(tree);
      categoriesShown.push_back(tree ? static_cast<int>(tree->categories.size()) : -1);
    }
    if (during) during();
    return cancel;
  }
  bool cancel = false;
  std::function<void()> during;
  // The trees in the slots while the dialog ran (freed by now: compare only)
  // and how many categories each held then (-1: no tree).
  std::vector<const UIData*> treesShown;
  std::vector<int> categoriesShown;
};

class CustomizeSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    onCreate.clear();
    onDestroy.clear();
    treeSeenAtDestroy.clear();
  }
  RegisteredProvider* Register(const std::vector<std::byte>& record,
                               ProviderPlacement placement = ProviderPlacement::kBack) {
    RegisteredProvider* handle = nullptr;
    EXPECT_EQ(providers.Register(record.data(), &handle, placement), kOk);
    return handle;
  }
  void Show() { session.ShowCustomizeShortcutsUI(macros, dialog); }
  // The four command calls answer 7 and write nothing; DestroyUIData frees
  // nothing and shows its box (except for 0, which it ignores).
  void ExpectRefusedByEveryUIDataCall(UIDataHandle handle, bool boxShown) {
    UIDataTrees& trees = session.Trees();
    uint16_t vk = 7, sk = 8, mode = 9;
    EXPECT_EQ(AddCommand2(trees, handle, u"Format", u"Bold", u"", 'B', 2, 1), kCallFailed);
    EXPECT_EQ(AddCommand(trees, handle, "Format", "Bold", "", 'B', 2), kCallFailed);
    EXPECT_EQ(GetCommand2(trees, handle, u"Format", u"Bold", &vk, &sk, &mode), kCallFailed);
    EXPECT_EQ(GetCommand(trees, handle, "Format", "Bold", &vk, &sk), kCallFailed);
    EXPECT_EQ(std::vector<uint16_t>({vk, sk, mode}), std::vector<uint16_t>({7, 8, 9}));
    boxes.shown.clear();
    session.DestroyTree(handle);
    const std::vector<ErrorBox> expected = {
        {u"Exception", u"The handle is no UI data tree, or its tree was destroyed."}};
    EXPECT_EQ(boxes.shown, boxShown ? expected : std::vector<ErrorBox>());
    boxes.shown.clear();
  }

  testing::FakeHotKeySystem system;
  HotKeyTable hotKeys{system};
  ProviderList providers;
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
  CustomizeSession session{providers, hotKeys, nullptr, guard, boxes};
  FakeMacros macros;
  FakeDialog dialog;
};

TEST_F(CustomizeSessionTest, BothPassesVisitProvidersInListOrderAroundTheDialog) {
  Register(Native<'A'>());
  Register(Native<'B'>());
  Register(Native<'C'>(), ProviderPlacement::kFront);
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create C", "create A", "create B", "dialog", "destroy C 0",
                                              "destroy A 0", "destroy B 0"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CustomizeSessionTest, ProvidersAreToldWhetherTheDialogWasCancelled) {
  Register(Native<'A'>());
  Register(MacroRecord("Fill", "Read"));
  dialog.cancel = true;
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "run Fill", "dialog", "destroy A 65535", "run Read true"}));
  events.clear();
  dialog.cancel = false;
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "run Fill", "dialog", "destroy A 0", "run Read false"}));
}

TEST_F(CustomizeSessionTest, TheDialogShowsTheTreesTheProvidersMade) {
  RegisteredProvider* native = Register(Native<'A'>());
  RegisteredProvider* macro = Register(MacroRecord("Fill", "Read"));
  const UIDataHandle nativeTree = session.Trees().Create();
  const UIData* nativeTreeAddress = session.Trees().Find(nativeTree);
  onCreate['A'] = [nativeTree](UIDataHandle* slot) { *slot = nativeTree; };
  macros.during = [this](UIDataHandle tree) { AddCommand2(session.Trees(), tree, u"Format", u"Bold", u"", 'B', 2, 3); };
  onDestroy['A'] = [this](UIDataHandle tree, uint16_t) { session.DestroyTree(tree); };
  Show();
  ASSERT_EQ(dialog.treesShown.size(), 2u);
  EXPECT_EQ(dialog.treesShown[0], nativeTreeAddress);
  EXPECT_EQ(dialog.categoriesShown[1], 1);
  EXPECT_EQ(treeSeenAtDestroy['A'], nativeTree);
  EXPECT_EQ(native->tree, nullptr);  // slots are empty again after the run
  EXPECT_EQ(macro->tree, nullptr);
  EXPECT_EQ(native->treeHandle + macro->treeHandle, 0u);
}

TEST_F(CustomizeSessionTest, NullNativeEventsAreSkippedAndTheSlotIsStillCleared) {
  RegisteredProvider* noCreate = Register(NativeRecord(0, Address(reinterpret_cast<void (*)()>(&Destroy<'A'>))));
  RegisteredProvider* noDestroy = Register(NativeRecord(Address(reinterpret_cast<void (*)()>(&Create<'B'>)), 0));
  const UIDataHandle tree = session.Trees().Create();
  onCreate['B'] = [tree](UIDataHandle* slot) { *slot = tree; };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create B", "dialog", "destroy A 0"}));
  EXPECT_EQ(treeSeenAtDestroy['A'], 0u);
  EXPECT_EQ(noCreate->tree, nullptr);
  EXPECT_EQ(noDestroy->tree, nullptr);  // the provider never gets its tree back
  session.DestroyTree(tree);
}

TEST_F(CustomizeSessionTest, AFailingEventIsShownInItsPassesBoxAndThePassGoesOn) {
  Register(Native<'A'>());
  Register(MacroRecord("", "Read"));
  Register(Native<'B'>());
  onCreate['A'] = [](UIDataHandle*) { throw std::runtime_error("create failed"); };
  onDestroy['B'] = [](UIDataHandle, uint16_t) { throw std::runtime_error("destroy failed"); };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "run ", "create B", "dialog", "destroy A 0", "run Read false",
                                              "destroy B 0"}));
  EXPECT_EQ(boxes.shown, (std::vector<ErrorBox>{{u"OnCreateUI Exception", u"create failed"},
                                                {u"OnCreateUI Exception", u"Macro not found"},
                                                {u"OnDestroyUI Exception", u"destroy failed"}}));
  // The empty macro's tree existed, empty, while the dialog ran.
  EXPECT_EQ(dialog.categoriesShown, (std::vector<int>{-1, 0, -1}));
}

TEST_F(CustomizeSessionTest, HotKeysAreSuspendedExactlyWhileTheDialogRuns) {
  ASSERT_TRUE(hotKeys.AddSystemHotKey(nullptr, 'K', 6));
  std::vector<KeyCode> boundDuringDialog{1};
  dialog.during = [&] { boundDuringDialog = system.BoundKeys(); };
  Show();
  EXPECT_TRUE(boundDuringDialog.empty());
  EXPECT_EQ(system.BoundKeys(), std::vector<KeyCode>{MakeKeyCode('K', 6)});
  EXPECT_TRUE(hotKeys.HotKeysActive());
}

TEST_F(CustomizeSessionTest, AFailingDialogStillResumesTellsProvidersNotCancelledAndIsShownLast) {
  ASSERT_TRUE(hotKeys.AddSystemHotKey(nullptr, 'K', 6));
  Register(Native<'A'>());
  dialog.cancel = true;
  dialog.during = [] { throw std::runtime_error("no dialog"); };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "dialog", "destroy A 0"}));
  EXPECT_EQ(boxes.shown, (std::vector<ErrorBox>{{u"Exception", u"no dialog"}}));
  EXPECT_TRUE(hotKeys.HotKeysActive());
  EXPECT_EQ(system.BoundKeys().size(), 1u);
}

TEST_F(CustomizeSessionTest, EventsThatAddOrRemoveProvidersNeverCauseADoubleOrFreedCall) {
  RegisteredProvider* a = Register(Native<'A'>());
  RegisteredProvider* b = Register(Native<'B'>());
  Register(Native<'C'>());
  const std::vector<std::byte> d = Native<'D'>();
  const std::vector<std::byte> e = Native<'E'>();
  onCreate['A'] = [&](UIDataHandle*) {
    session.UnregisterProvider(a);  // itself
    RegisteredProvider* handle;
    providers.Register(d.data(), &handle, ProviderPlacement::kFront);  // ahead of everybody
    providers.Register(e.data(), &handle, ProviderPlacement::kBack);   // appended
  };
  onCreate['D'] = [&](UIDataHandle*) { session.UnregisterProvider(b); };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "create D", "create C", "create E", "dialog", "destroy D 0",
                                              "destroy C 0", "destroy E 0"}));
}

TEST_F(CustomizeSessionTest, AVersion20TreeGoesWithItsProvider) {
  RegisteredProvider* macro = Register(MacroRecord("Fill", "FailToRead"));
  Show();  // the failed OnDestroyUI macro leaves the tree in the slot
  ASSERT_EQ(boxes.shown.size(), 1u);
  ASSERT_NE(macro->tree, nullptr);
  EXPECT_EQ(session.UnregisterProvider(macro), kOk);  // frees it (the sanitizer build sees a leak otherwise)
  EXPECT_EQ(session.UnregisterProvider(macro), kUnknownProvider);
}

TEST_F(CustomizeSessionTest, ATreeLeftByAFailedDestroyMacroIsFreedBeforeTheNextRun) {
  RegisteredProvider* macro = Register(MacroRecord("Fill", "FailToRead"));
  Show();
  UIData* leftOver = macro->tree;
  ASSERT_NE(leftOver, nullptr);
  Show();
  ASSERT_EQ(dialog.treesShown.size(), 2u);
  EXPECT_EQ(dialog.categoriesShown[1], 0);  // a fresh tree
  session.UnregisterProvider(macro);
}

TEST_F(CustomizeSessionTest, ATreeDestroyedDuringTheRunStaysValidUntilTheRunEnds) {
  RegisteredProvider* macro = Register(MacroRecord("Fill", "Read"));
  UIDataHandle released = 0;
  macros.during = [&](UIDataHandle tree) {
    if (events.back() != "run Fill") return;
    session.UnregisterProvider(macro);  // releases the tree the macro is filling
    released = tree;
    EXPECT_EQ(AddCommand2(session.Trees(), tree, u"Edit", u"Copy", u"", 'C', 2, 3), kOk);  // still usable
    session.DestroyTree(tree);                                                             // already set aside
  };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"run Fill", "dialog"}));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(AddCommand2(session.Trees(), released, u"Edit", u"Paste", u"", 'V', 2, 3), kCallFailed);  // freed now
}

TEST_F(CustomizeSessionTest, AProviderWhoseSlotHoldsNoLiveTreeContributesNothingAndIsReported) {
  Register(Native<'A'>());
  Register(Native<'B'>());
  Register(Native<'C'>());
  const UIDataHandle destroyed = session.Trees().Create();
  session.DestroyTree(destroyed);
  const UIDataHandle live = session.Trees().Create();
  const UIData* liveAddress = session.Trees().Find(live);
  onCreate['A'] = [](UIDataHandle* slot) { *slot = 0x12345678; };
  onCreate['B'] = [destroyed](UIDataHandle* slot) { *slot = destroyed; };
  onCreate['C'] = [live](UIDataHandle* slot) { *slot = live; };
  Show();
  EXPECT_EQ(dialog.treesShown, (std::vector<const UIData*>{nullptr, nullptr, liveAddress}));
  const ErrorBox noTree = {u"OnCreateUI Exception", u"OnCreateUI stored a handle that is no UI data tree."};
  EXPECT_EQ(boxes.shown, (std::vector<ErrorBox>{noTree, noTree}));
  EXPECT_EQ(treeSeenAtDestroy['A'], 0u);
  EXPECT_EQ(treeSeenAtDestroy['B'], 0u);
  EXPECT_EQ(treeSeenAtDestroy['C'], live);
}

TEST_F(CustomizeSessionTest, AnOnCreateUIThatUnregistersItsProviderBeforeStoringItsTreeWritesIntoNothingFreed) {
  RegisteredProvider* a = Register(Native<'A'>());
  Register(Native<'B'>());
  onCreate['A'] = [&](UIDataHandle* slot) {
    session.UnregisterProvider(a);
    *slot = session.Trees().Create();  // into freed memory, were the slot the provider's own field
  };
  onCreate['B'] = [&](UIDataHandle* slot) { *slot = session.Trees().Create(); };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "create B", "dialog", "destroy B 0"}));
  EXPECT_EQ(dialog.categoriesShown, (std::vector<int>{0}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CustomizeSessionTest, AHandleThatIsNoLiveTreeIsRefusedByEveryUIDataCall) {
  UIDataTrees& trees = session.Trees();
  const UIDataHandle live = trees.Create();
  ASSERT_EQ(AddCommand2(trees, live, u"Format", u"Bold", u"", 'B', 2, 1), kOk);
  const UIDataHandle destroyed = trees.Create();
  session.DestroyTree(destroyed);
  UIData foreign;  // a tree, but not one that the library handed out
  struct NoTree {
    const char* what;
    UIDataHandle handle;
    bool boxShown;  // by DestroyUIData
  };
  const NoTree kNoTrees[] = {{"destroyed", destroyed, true},
                             {"foreign", reinterpret_cast<UIDataHandle>(&foreign), true},
                             {"a live tree's address", reinterpret_cast<UIDataHandle>(trees.Find(live)), true},
                             {"garbage", 0x12345678, true},
                             {"null", 0, false}};
  for (const NoTree& noTree : kNoTrees) {
    SCOPED_TRACE(noTree.what);
    ExpectRefusedByEveryUIDataCall(noTree.handle, noTree.boxShown);
  }
  EXPECT_TRUE(foreign.categories.empty());
  uint16_t vk = 0;
  EXPECT_EQ(GetCommand2(trees, live, u"Format", u"Bold", &vk, nullptr, nullptr), kOk);
  EXPECT_EQ(vk, 'B');
  EXPECT_EQ(trees.Find(live)->categories.size(), 1u);
}

// A client that keeps a destroyed tree's handle must never reach a newer
// tree, least of all one that the allocator put at the destroyed tree's
// address: both ways of making newer trees end with every one of them live.
TEST_F(CustomizeSessionTest, ADestroyedHandleIsRefusedForeverAndNoNewerTreeIsTouched) {
  enum class Newer { kManyAtOnce, kUntilOneSitsAtTheDestroyedAddress };
  for (const Newer newer : {Newer::kManyAtOnce, Newer::kUntilOneSitsAtTheDestroyedAddress}) {
    SCOPED_TRACE(static_cast<int>(newer));
    UIDataTrees& trees = session.Trees();
    const UIDataHandle destroyed = trees.Create();
    const UIData* destroyedAddress = trees.Find(destroyed);
    session.DestroyTree(destroyed);
    std::vector<UIDataHandle> live;
    if (newer == Newer::kManyAtOnce) {
      for (int i = 0; i < 1000; ++i) live.push_back(trees.Create());
    } else {
      for (int i = 0; i < 100000 && live.empty(); ++i) {
        const UIDataHandle tree = trees.Create();
        if (trees.Find(tree) == destroyedAddress) {
          live.push_back(tree);
        } else {
          session.DestroyTree(tree);
        }
      }
#ifndef LOOMKEYS_QUARANTINED_HEAP
      ASSERT_EQ(live.size(), 1u) << "no new tree reached the destroyed one's address";
#endif
    }
    for (const UIDataHandle tree : live) ASSERT_NE(tree, destroyed);
    ExpectRefusedByEveryUIDataCall(destroyed, true);
    for (const UIDataHandle tree : live) EXPECT_TRUE(trees.Find(tree)->categories.empty());
    for (const UIDataHandle tree : live) session.DestroyTree(tree);
    EXPECT_TRUE(boxes.shown.empty());
  }
}

TEST_F(CustomizeSessionTest, ANestedCallReturnsAtOnceAndCallsNobody) {
  Register(Native<'A'>());
  dialog.during = [this] { Show(); };
  onCreate['A'] = [this](UIDataHandle*) { Show(); };
  Show();
  EXPECT_EQ(events, (std::vector<std::string>{"create A", "dialog", "destroy A 0"}));
}

}  // namespace
}  // namespace loomkeys
