#include "hotkeys/atom_recording_hotkey_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fake_os/fake_hotkey_system.h"
#include "hotkeys/hotkey_table.h"

namespace loomkeys {
namespace {

using testing::FakeHotKeySystem;
using testing::HotKeyCall;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);

// The system's atoms, which counts each delete against the adds of its atom:
// a delete with no reference left would drop another program's reference.
// An exit can be made to end the caller's thread right before or right after
// the system's add or delete of an atom: the exit's deletes run there, and the
// thread never comes back (ThreadEnded unwinds it).
struct ThreadEnded {};
enum class Moment { kNever, kBeforeAdd, kAfterAdd, kBeforeDelete, kAfterDelete };

class CountingSystem : public FakeHotKeySystem {
 public:
  Moment exitAt = Moment::kNever;
  std::function<void()> exit;
  int surplusDeletes = 0;

  uint16_t AddGlobalAtom(const std::string& name) override {
    ExitIf(Moment::kBeforeAdd);
    const uint16_t atom = FakeHotKeySystem::AddGlobalAtom(name);
    ++references_[atom];
    ExitIf(Moment::kAfterAdd);
    return atom;
  }
  void DeleteGlobalAtom(uint16_t atom) override {
    ExitIf(Moment::kBeforeDelete);
    if (references_[atom]-- == 0) ++surplusDeletes;
    FakeHotKeySystem::DeleteGlobalAtom(atom);
    ExitIf(Moment::kAfterDelete);
  }

 private:
  void ExitIf(Moment moment) {
    if (moment != exitAt) return;
    exitAt = Moment::kNever;  // the exit's own deletes go through
    exit();
    throw ThreadEnded{};
  }
  std::map<uint16_t, int> references_;
};

// What the table did before the process ended: every case leaves the table
// holding some atoms, or none.
struct TableHistory {
  const char* what;
  std::function<void(HotKeyTable&, CountingSystem&)> run;
};

void Add(HotKeyTable& table, uint16_t virtualKey, uint16_t shiftKeys) {
  table.AddSystemHotKey(kWindow, virtualKey, shiftKeys);
}

const TableHistory kHistories[] = {
    {"nothing added", [](HotKeyTable&, CountingSystem&) {}},
    {"keys added", [](HotKeyTable& t, CountingSystem&) { Add(t, 'A', 2), Add(t, 'B', 2), Add(t, 'B', 6); }},
    {"keys added and some removed",
     [](HotKeyTable& t, CountingSystem&) {
       Add(t, 'A', 2), Add(t, 'B', 2), Add(t, 'C', 2);
       t.RemoveSystemHotKey(kWindow, 'B', 2);
     }},
    {"keys added, all removed, added again",
     [](HotKeyTable& t, CountingSystem&) {
       Add(t, 'A', 2), Add(t, 'B', 2);
       t.ClearHotKeys(kWindow);
       Add(t, 'B', 2);
     }},
    {"a key refused by the system, which the table keeps",
     [](HotKeyTable& t, CountingSystem& s) {
       s.Refuse('R', 2);
       Add(t, 'R', 2), Add(t, 'A', 2);
     }},
    {"no atom could be made",
     [](HotKeyTable& t, CountingSystem& s) {
       Add(t, 'A', 2);
       s.FailAtoms(true);
       Add(t, 'B', 2);
     }},
    {"keys suspended, and live and dead by mode",
     [](HotKeyTable& t, CountingSystem&) {
       Add(t, 'A', 2), Add(t, 'B', 2);
       t.ApplyKeySets(kWindow, {MakeKeyCode('A', 2)}, {MakeKeyCode('B', 2)});
       t.SuspendHotKeys(kWindow);
     }},
};

TEST(AtomRecordingHotKeySystemTest, AtProcessExitEveryAtomThatTheTableHoldsIsDeletedOnce) {
  for (const TableHistory& history : kHistories) {
    SCOPED_TRACE(history.what);
    CountingSystem system;
    AtomRecordingHotKeySystem recorded(system);
    HotKeyTable table(recorded);
    history.run(table, system);

    recorded.DeleteRecordedAtoms();
    EXPECT_TRUE(system.LiveAtoms().empty());
    EXPECT_EQ(system.surplusDeletes, 0);
  }
}

struct ChangeEndedByExit {
  const char* what;
  Moment moment;
  std::function<void(HotKeyTable&)> change;
};

const ChangeEndedByExit kEndedChanges[] = {
    {"adding a key, before the system adds its atom", Moment::kBeforeAdd, [](HotKeyTable& t) { Add(t, 'C', 2); }},
    {"adding a key, after the system added its atom", Moment::kAfterAdd, [](HotKeyTable& t) { Add(t, 'C', 2); }},
    {"removing a key, before the system deletes its atom", Moment::kBeforeDelete,
     [](HotKeyTable& t) { t.RemoveSystemHotKey(kWindow, 'B', 2); }},
    {"removing a key, after the system deleted its atom", Moment::kAfterDelete,
     [](HotKeyTable& t) { t.RemoveSystemHotKey(kWindow, 'B', 2); }},
    {"clearing the table, before the system deletes an atom", Moment::kBeforeDelete,
     [](HotKeyTable& t) { t.ClearHotKeys(kWindow); }},
    {"clearing the table, after the system deleted an atom", Moment::kAfterDelete,
     [](HotKeyTable& t) { t.ClearHotKeys(kWindow); }},
};

TEST(AtomRecordingHotKeySystemTest, AnExitThatEndsAnAtomChangeHalfWayLeavesNoAtomAndDeletesNoneTwice) {
  for (const ChangeEndedByExit& ended : kEndedChanges) {
    SCOPED_TRACE(ended.what);
    CountingSystem system;
    AtomRecordingHotKeySystem recorded(system);
    HotKeyTable table(recorded);
    Add(table, 'A', 2), Add(table, 'B', 2);
    system.exitAt = ended.moment;
    system.exit = [&] { recorded.DeleteRecordedAtoms(); };
    EXPECT_THROW(ended.change(table), ThreadEnded);
    EXPECT_TRUE(system.LiveAtoms().empty());
    EXPECT_EQ(system.surplusDeletes, 0);
  }
}

}  // namespace
}  // namespace loomkeys
