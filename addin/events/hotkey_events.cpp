#include "events/hotkey_events.h"

#include "debuglog/debug_log.h"
#include "events/chord_strokes.h"
#include "foreground/powerpoint_windows.h"

namespace loomkeys {
namespace {

// A press whose message waited longer than this while PowerPoint's thread
// was busy (saving, a slow add-in) was made for a window that may be gone
// from the front: the user has had time to move to another program and type
// there since. Such a press is not typed again after what the user typed
// meanwhile, into a program that would take it as its own shortcut. A press
// of a key still bound is unaffected. A quarter of a second is well above
// what a busy moment of an idle thread takes, and below a deliberate switch.
constexpr uint32_t kLatePressLimit = 250;

}  // namespace

HotKeyEvents::HotKeyEvents(ShortcutRegistry& registry, HotKeyTable& hotKeys, WindowHandle window,
                           ForegroundWindowReader& foreground, KeyInjector& keys, ClientCodeGuard& guard,
                           ErrorBoxes& boxes)
    : registry_(registry),
      hotKeys_(hotKeys),
      window_(window),
      foreground_(foreground),
      keys_(keys),
      guard_(guard),
      boxes_(boxes) {}

void HotKeyEvents::Classify() {
  foreground_.Read(current_);
  mode_ = ActiveModeOf(current_);
}

void HotKeyEvents::ApplyMode() {
  DebugLog("ActiveMode = %d", {mode_});
  registry_.ApplyActiveMode(window_, mode_);
}

void HotKeyEvents::Tick() {
  Classify();
  ApplyMode();
}

void HotKeyEvents::HandlePress(const HotKeyPress& press) {
  const auto logged = static_cast<int64_t>(press.chord);
  DebugLog("HotKey = %.8x", {logged});
  // Hot keys are system-wide and the key sets follow the window in front
  // only tick by tick: a press that comes right after a switch may be meant
  // for a window whose keys are not applied yet. The window classified last
  // (by a tick or a press) has the same class and process now; its title is
  // at most a tick old, as it always was. Any other window is read.
  if (foreground_.Handle() != current_.handle) Classify();
  if (!registry_.KeySetsApplied(mode_)) ApplyMode();
  if (!current_.exists) return;
  // By the id, not by the chord: the system reports fewer shift-key bits than
  // it binds (MOD_NOREPEAT never comes back in the lParam).
  const std::optional<KeyCode> key = hotKeys_.BoundKeyOfId(press.id);
  if (!key && press.waited > kLatePressLimit) {
    DebugLog("HotKey late, not re-sent = %.8x", {logged});
  } else if (!key) {
    Resend(press.chord);
  } else if (current_.ownProcess) {
    DebugLog("HotKey called = %.8x", {logged});
    registry_.DispatchHotKey(*key, guard_, boxes_);
  } else if (IsMultipleMainWindowClass(current_.ClassName())) {
    registry_.DispatchHotKey(*key, guard_, boxes_);
  }
}

// The key is not bound any more, so the keystroke reaches the window in
// front as ordinary input. Should a bound key still take the chord, for
// whatever reason, the keystroke would come back here as a press of its own,
// and again for ever: such a chord is never typed.
void HotKeyEvents::Resend(KeyCode chord) {
  const auto logged = static_cast<int64_t>(chord);
  if (hotKeys_.BindsChord(chord)) {
    DebugLog("HotKey not re-sent, bound = %.8x", {logged});
    return;
  }
  const ChordStrokes strokes = StrokesOfChord(chord, keys_.ModifiersDown());
  const bool sent = keys_.SendKeyStrokes(strokes.strokes, strokes.count);
  DebugLog(sent ? "HotKey re-sent = %.8x" : "HotKey not re-sent = %.8x", {logged});
}

}  // namespace loomkeys
