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
                           ForegroundWindowReader& foreground, KeyInjector& keys, KeyboardLayouts& layouts,
                           ClientCodeGuard& guard, ErrorBoxes& boxes)
    : registry_(registry),
      hotKeys_(hotKeys),
      window_(window),
      foreground_(foreground),
      keys_(keys),
      layouts_(layouts),
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
  } else if (!current_.ownProcess && !IsMultipleMainWindowClass(current_.ClassName())) {
    // Another program, and the key stayed bound: dropped.
  } else if (!TypedWithAltGr(press.chord)) {
    if (current_.ownProcess) DebugLog("HotKey called = %.8x", {logged});
    registry_.DispatchHotKey(*key, guard_, boxes_);
  }
}

// Windows reports AltGr as left Ctrl plus right Alt, so a Ctrl+Alt hot key
// takes what the user meant as a character (AltGr+Q is @ on a German
// keyboard). When the right Alt key is down and the layout of the window in
// front gives a character for the chord, the character is typed instead, as
// a character that no hot key can take. A dead key cannot be typed that way:
// starting a composition needs the key itself, which the hot key would take
// again. True when the press was AltGr's.
bool HotKeyEvents::TypedWithAltGr(KeyCode chord) {
  constexpr uint16_t kCtrlAlt = kModControl | kModAlt;
  if ((KeyCodeShiftKeys(chord) & (kCtrlAlt | kModWin)) != kCtrlAlt || !keys_.RightAltDown()) return false;
  const LayoutCharacter typed = layouts_.CharacterOfChord(layouts_.LayoutOfWindow(current_.handle), chord);
  const auto logged = static_cast<int64_t>(chord);
  switch (typed.kind) {
    case LayoutCharacter::kNone:
      return false;
    case LayoutCharacter::kDeadKey:
      DebugLog("HotKey AltGr dead key, dropped = %.8x", {logged});
      return true;
    case LayoutCharacter::kCharacter:
      break;
  }
  const bool sent = keys_.SendCharacters(typed.text, typed.length);
  DebugLog(sent ? "HotKey AltGr typed = %.8x" : "HotKey AltGr not typed = %.8x", {logged});
  return true;
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
  const ChordStrokes strokes =
      StrokesOfChord(chord, keys_.ModifiersDown(), layouts_, layouts_.LayoutOfWindow(current_.handle));
  const bool sent = keys_.SendKeyStrokes(strokes.strokes, strokes.count);
  DebugLog(sent ? "HotKey re-sent = %.8x" : "HotKey not re-sent = %.8x", {logged});
}

}  // namespace loomkeys
