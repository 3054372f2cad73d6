#include "events/hotkey_events.h"

#include <gtest/gtest.h>

#include "fake_os/fake_foreground_window.h"
#include "fake_os/fake_keyboard_layouts.h"
#include "fake_os/recording_client_code.h"
#include "fake_os/recording_debug_log.h"
#include "fake_os/recording_key_injector.h"
#include "registry_fixture.h"

namespace loomkeys {
namespace {

int presses = 0;
void LOOMKEYS_STDCALL CountPress(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) { ++presses; }

// Ctrl+Shift+J, wanted in slide design only.
constexpr uint16_t kCtrlShift = kModControl | kModShift;
constexpr KeyCode kDesignKey = MakeKeyCode('J', kCtrlShift);

constexpr KeyStroke kCtrlDown{0x11, false, false}, kCtrlUp{0x11, true, false};
constexpr KeyStroke kShiftDown{0x10, false, false}, kShiftUp{0x10, true, false};
constexpr KeyStroke kJDown{'J', false, false}, kJUp{'J', true, false};
const std::vector<KeyStroke> kWholeChord{kCtrlDown, kShiftDown, kJDown, kJUp, kShiftUp, kCtrlUp};

// What is in front when the key is pressed, after a tick that saw PowerPoint's
// editing window and made the key live.
enum class Front {
  kTickedEditingWindow,
  kOtherEditingWindow,
  kSlideShow,
  kDialog,
  kOtherProgram,
  kMultipleMainWindow,
  kNothing
};

class HotKeyEventsTest : public testing::RegistryFixture {
 protected:
  void SetUp() override {
    presses = 0;
    Register("A", 'J', kCtrlShift, "", kModeSlideDesign, CountPress);
  }
  void ShowEditingWindow() { foreground.Show(u"PPTFrameClass", u"Deck - PowerPoint", true); }
  void Show(Front front) {
    switch (front) {
      case Front::kTickedEditingWindow:
        break;
      case Front::kOtherEditingWindow:
        ShowEditingWindow();
        break;
      case Front::kSlideShow:
        foreground.Show(u"screenClass", u"PowerPoint Slide Show - Deck", true);
        break;
      case Front::kDialog:
        foreground.Show(u"#32770", u"Options", true);
        break;
      case Front::kOtherProgram:
        foreground.Show(u"Notepad", u"Untitled", false);
        break;
      case Front::kMultipleMainWindow:
        foreground.Show(u"Multiple_PowerPoint_MainWin", u"", false);
        break;
      case Front::kNothing:
        foreground.ShowNothing();
        break;
    }
  }

  testing::FakeForegroundWindow foreground;
  testing::RecordingKeyInjector keys;
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
  testing::FakeKeyboardLayouts layouts;
  HotKeyEvents events{*registry, table, testing::kTestWindow, foreground, keys, layouts, guard, boxes};
  testing::RecordingDebugLog log;
};

TEST_F(HotKeyEventsTest, ATickLogsTheModeAndTheKeySetsAndAppliesThem) {
  ShowEditingWindow();
  events.Tick();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"ActiveMode = 1", "EnabledVirtualKeys = 1, DisabledVirtualKeys = 0"}));
  EXPECT_EQ(system.BoundKeys(), std::vector<KeyCode>{kDesignKey});

  foreground.Show(u"Notepad", u"Untitled", false);
  events.Tick();
  EXPECT_EQ(log.lines[2], "ActiveMode = 0");
  EXPECT_TRUE(system.BoundKeys().empty());
}

struct PressCase {
  const char* what;
  Front front;
  uint16_t modifiersDown;
  bool unbindFails;
  bool tickedBeforePress;  // as WM_ACTIVATEAPP does at a switch
  std::vector<std::string> lines;
  int presses;
  std::vector<KeyStroke> strokes;
};

void PrintTo(const PressCase& c, std::ostream* out) { *out << c.what; }

class HotKeyPressTest : public HotKeyEventsTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(HotKeyPressTest, APressIsJudgedByTheWindowInFrontAtTheMomentOfThePress) {
  const PressCase& c = GetParam();
  ShowEditingWindow();
  events.Tick();
  if (c.unbindFails) system.KeepBound('J', kCtrlShift);
  Show(c.front);
  if (c.tickedBeforePress) events.Tick();
  keys.modifiersDown = c.modifiersDown;
  log.lines.clear();

  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(log.lines, c.lines) << c.what;
  EXPECT_EQ(presses, c.presses) << c.what;
  EXPECT_EQ(keys.sent, c.strokes) << c.what;
}

const std::string kPressed = "HotKey = 004A0006";
const std::string kCalled = "HotKey called = 004A0006";
const std::string kResent = "HotKey re-sent = 004A0006";
const std::string kKeyDead = "EnabledVirtualKeys = 0, DisabledVirtualKeys = 1";

INSTANTIATE_TEST_SUITE_P(
    Foreground, HotKeyPressTest,
    ::testing::Values(
        PressCase{
            "the editing window of the tick", Front::kTickedEditingWindow, 0, false, false, {kPressed, kCalled}, 1, {}},
        PressCase{"another editing window of PowerPoint",
                  Front::kOtherEditingWindow,
                  0,
                  false,
                  false,
                  {kPressed, kCalled},
                  1,
                  {}},
        PressCase{"another program",
                  Front::kOtherProgram,
                  0,
                  false,
                  false,
                  {kPressed, "ActiveMode = 0", kKeyDead, kResent},
                  0,
                  kWholeChord},
        PressCase{"another program, after a tick applied its mode",
                  Front::kOtherProgram,
                  0,
                  false,
                  true,
                  {kPressed, kResent},
                  0,
                  kWholeChord},
        PressCase{"the slide show, with a key of slide design",
                  Front::kSlideShow,
                  0,
                  false,
                  false,
                  {kPressed, "ActiveMode = 2", kKeyDead, kResent},
                  0,
                  kWholeChord},
        PressCase{"a dialog of PowerPoint",
                  Front::kDialog,
                  0,
                  false,
                  false,
                  {kPressed, "ActiveMode = 0", kKeyDead, kResent},
                  0,
                  kWholeChord},
        PressCase{"PowerPoint's multiple-window main window in another process",
                  Front::kMultipleMainWindow,
                  0,
                  false,
                  false,
                  {kPressed},
                  1,
                  {}},
        PressCase{
            "no window in front", Front::kNothing, 0, false, false, {kPressed, "ActiveMode = 0", kKeyDead}, 0, {}},
        PressCase{"another program, Ctrl and Shift held down",
                  Front::kOtherProgram,
                  kCtrlShift,
                  false,
                  false,
                  {kPressed, "ActiveMode = 0", kKeyDead, kResent},
                  0,
                  {kJDown, kJUp}},
        PressCase{"another program, Shift and Alt held down",
                  Front::kOtherProgram,
                  kModShift | kModAlt,
                  false,
                  false,
                  {kPressed, "ActiveMode = 0", kKeyDead, kResent},
                  0,
                  {kCtrlDown, kJDown, kJUp, kCtrlUp}},
        PressCase{"another program, the key stays bound",
                  Front::kOtherProgram,
                  0,
                  true,
                  false,
                  {kPressed, "ActiveMode = 0", kKeyDead},
                  0,
                  {}},
        PressCase{"the slide show, the key stays bound",
                  Front::kSlideShow,
                  0,
                  true,
                  false,
                  {kPressed, "ActiveMode = 2", kKeyDead, kCalled},
                  1,
                  {}}));

TEST_F(HotKeyEventsTest, AKeyTypedAgainIsNoLongerBound) {
  ShowEditingWindow();
  events.Tick();
  foreground.Show(u"Notepad", u"Untitled", false);
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_TRUE(system.BoundKeys().empty());
  EXPECT_FALSE(table.IsBound(kDesignKey));
  EXPECT_EQ(keys.sends, 1);
}

TEST_F(HotKeyEventsTest, AKeyBoundByItsRegistrationSinceTheLastTickIsJudgedByTheSlideShowInFront) {
  foreground.Show(u"screenClass", u"PowerPoint Slide Show - Deck", true);
  events.Tick();
  // Registering binds the key at once, whatever the mode.
  Register("B", 'K', kCtrlShift, "", kModeSlideDesign, CountPress);
  ASSERT_TRUE(table.IsBound(MakeKeyCode('K', kCtrlShift)));
  log.lines.clear();
  events.HandlePress(PressOf(MakeKeyCode('K', kCtrlShift)));
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"HotKey = 004B0006", "ActiveMode = 2",
                                      "EnabledVirtualKeys = 0, DisabledVirtualKeys = 2", "HotKey re-sent = 004B0006"}));
  EXPECT_EQ(presses, 0);
}

TEST_F(HotKeyEventsTest, APressInTheWindowTheTickClassifiedReadsNeitherClassNorTitle) {
  ShowEditingWindow();
  events.Tick();
  const int afterTick = foreground.reads;
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(foreground.reads, afterTick);

  // A new window is read once; further presses in it are not.
  foreground.Show(u"Notepad", u"Untitled", false);
  events.HandlePress(PressOf(kDesignKey));
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(foreground.reads, afterTick + 1);
  EXPECT_EQ(keys.sends, 2);
}

TEST_F(HotKeyEventsTest, AKeystrokeTheSystemDidNotTakeIsLogged) {
  ShowEditingWindow();
  events.Tick();
  foreground.Show(u"Notepad", u"Untitled", false);
  keys.refuse = true;
  log.lines.clear();
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(log.lines.back(), "HotKey not re-sent = 004A0006");
}

// Which entries a press ran, by the shift keys they were registered with.
std::vector<uint16_t> calledShiftKeys;
void LOOMKEYS_STDCALL RecordShiftKeys(const char16_t*, uint16_t, uint16_t shiftKeys, const char16_t*, uint32_t) {
  calledShiftKeys.push_back(shiftKeys);
}

constexpr uint16_t kNoRepeat = 0x4000;  // MOD_NOREPEAT
constexpr KeyCode kUnknownId = 0;       // no key of the table has this id

// Ctrl+H and H with the case's shift keys are registered; a press comes in
// the editing window under the id of `pressedKey` (or an id the table does
// not know), reporting `chord`.
struct MatchCase {
  const char* what;
  uint16_t boundShiftKeys;
  KeyCode pressedKey;
  KeyCode chord;
  std::vector<uint16_t> called;
  std::string afterPress;  // the log line after "HotKey = ...", if any
  size_t strokes;
};

void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.what; }

class HotKeyMatchTest : public HotKeyEventsTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(HotKeyMatchTest, APressIsMatchedByTheIdTheKeyWasBoundWithAndNeverTypedIntoABoundKey) {
  const MatchCase& c = GetParam();
  Register("M", 'H', kModControl, "ctrl", kEveryMode, RecordShiftKeys);
  Register("M", 'H', c.boundShiftKeys, "case", kEveryMode, RecordShiftKeys);
  ShowEditingWindow();
  events.Tick();
  calledShiftKeys.clear();
  log.lines.clear();

  const int id = c.pressedKey == kUnknownId ? 0x7777 : PressOf(c.pressedKey).id;
  events.HandlePress({id, c.chord});
  EXPECT_EQ(calledShiftKeys, c.called);
  ASSERT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines.size() > 1 ? log.lines[1] : std::string(), c.afterPress);
  EXPECT_EQ(keys.sent.size(), c.strokes);
}

INSTANTIATE_TEST_SUITE_P(ShiftKeys, HotKeyMatchTest,
                         ::testing::Values(MatchCase{"MOD_NOREPEAT with Ctrl+Shift, reported without it",
                                                     kNoRepeat | kCtrlShift,
                                                     MakeKeyCode('H', kNoRepeat | kCtrlShift),
                                                     MakeKeyCode('H', kCtrlShift),
                                                     {kNoRepeat | kCtrlShift},
                                                     "HotKey called = 00480006",
                                                     0},
                                           MatchCase{"bits the system does not report, beside Ctrl+H",
                                                     0xE2,
                                                     MakeKeyCode('H', 0xE2),
                                                     MakeKeyCode('H', kModControl),
                                                     {0xE2},
                                                     "HotKey called = 00480002",
                                                     0},
                                           MatchCase{"Ctrl+H itself, beside a key with more bits",
                                                     0xE2,
                                                     MakeKeyCode('H', kModControl),
                                                     MakeKeyCode('H', kModControl),
                                                     {kModControl},
                                                     "HotKey called = 00480002",
                                                     0},
                                           MatchCase{"an unknown id whose chord a key binds with MOD_NOREPEAT",
                                                     kNoRepeat | kCtrlShift,
                                                     kUnknownId,
                                                     MakeKeyCode('H', kCtrlShift),
                                                     {},
                                                     "HotKey not re-sent, bound = 00480006",
                                                     0},
                                           MatchCase{"an unknown id whose chord Ctrl+H binds",
                                                     kCtrlShift,
                                                     kUnknownId,
                                                     MakeKeyCode('H', kModControl),
                                                     {},
                                                     "HotKey not re-sent, bound = 00480002",
                                                     0},
                                           MatchCase{"an unknown id whose chord no key binds",
                                                     kNoRepeat | kCtrlShift,
                                                     kUnknownId,
                                                     MakeKeyCode('H', kModShift),
                                                     {},
                                                     "HotKey re-sent = 00480004",
                                                     4}));

// A press of the slide-design key whose message waited `waited` ms while the
// thread was busy, after a tick of the editing window.
struct LateCase {
  const char* what;
  Front front;
  uint32_t waited;
  std::string lastLine;
  int presses;
  size_t strokes;
};

void PrintTo(const LateCase& c, std::ostream* out) { *out << c.what; }

class HotKeyLatePressTest : public HotKeyEventsTest, public ::testing::WithParamInterface<LateCase> {};

TEST_P(HotKeyLatePressTest, APressThatWaitedLongIsNotTypedIntoTheWindowNowInFront) {
  const LateCase& c = GetParam();
  ShowEditingWindow();
  events.Tick();
  Show(c.front);
  HotKeyPress press = PressOf(kDesignKey);
  press.waited = c.waited;
  events.HandlePress(press);
  EXPECT_EQ(log.lines.back(), c.lastLine);
  EXPECT_EQ(presses, c.presses);
  EXPECT_EQ(keys.sent.size(), c.strokes);
}

const std::string kLate = "HotKey late, not re-sent = 004A0006";

INSTANTIATE_TEST_SUITE_P(
    Waits, HotKeyLatePressTest,
    ::testing::Values(LateCase{"the editing window, 600 ms", Front::kTickedEditingWindow, 600, kCalled, 1, 0},
                      LateCase{"another program, 600 ms", Front::kOtherProgram, 600, kLate, 0, 0},
                      LateCase{"another program, 251 ms", Front::kOtherProgram, 251, kLate, 0, 0},
                      LateCase{"another program, 250 ms", Front::kOtherProgram, 250, kResent, 0, 6},
                      LateCase{"another program, at once", Front::kOtherProgram, 0, kResent, 0, 6},
                      LateCase{"the slide show with a key of slide design, 600 ms", Front::kSlideShow, 600, kLate, 0,
                               0}));

struct WaitCase {
  uint32_t messageTime;
  uint32_t now;
  uint32_t wait;
};

TEST(MessageWaitTest, TheWaitIsTheClocksDifferenceAcrossItsWrapAndNeverNegative) {
  const WaitCase cases[] = {
      {1000, 1600, 600},                    // an ordinary wait
      {0xFFFFFF00, 0x00000158, 0x258},      // the clock wrapped to 0 meanwhile
      {0xFFFFFFFF, 0, 1},                   // at the wrap itself
      {5000, 5000, 0},                      // at once
      {5010, 5000, 0},                      // a message time a little ahead of the clock
      {0x00000010, 0x80000000, 0x7FFFFFF0}  // the longest wait that can be told
  };
  for (const WaitCase& c : cases) {
    EXPECT_EQ(MessageWait(c.messageTime, c.now), c.wait) << c.messageTime << " " << c.now;
  }
}

TEST_F(HotKeyEventsTest, AKeyTypedAgainTakesItsScanCodesFromTheLayoutOfTheWindowInFront) {
  const testing::FakeLayout qwerty{{{0x11, {0x1D, false}}, {0x10, {0x2A, false}}, {'J', {0x24, false}}}, {}};
  const testing::FakeLayout dvorak{{{0x11, {0x1D, false}}, {0x10, {0x2A, false}}, {'J', {0x2E, false}}}, {}};
  layouts.otherWindows = &qwerty;  // PowerPoint's
  ShowEditingWindow();
  events.Tick();
  foreground.Show(u"Notepad", u"Untitled", false);
  layouts.byWindow[foreground.Handle()] = &dvorak;
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(keys.sent, (std::vector<KeyStroke>{{0x11, false, false, 0x1D},
                                               {0x10, false, false, 0x2A},
                                               {'J', false, false, 0x2E},
                                               {'J', true, false, 0x2E},
                                               {0x10, true, false, 0x2A},
                                               {0x11, true, false, 0x1D}}));
}

// Ctrl+Alt+Q, Ctrl+Alt+K, Ctrl+Alt+2 and Ctrl+Alt+Win+Q are bound; one of
// them is pressed in PowerPoint's editing window, whose layout is the case's.
constexpr uint16_t kCtrlAlt = kModControl | kModAlt;
constexpr LayoutCharacter kAt{LayoutCharacter::kCharacter, {u'@'}, 1};
constexpr LayoutCharacter kDeadTilde{LayoutCharacter::kDeadKey, {u'~'}, 1};
constexpr LayoutCharacter kPlainQ{LayoutCharacter::kCharacter, {u'q'}, 1};
// A layout without AltGr: Ctrl+Alt gives no character.
const testing::FakeLayout kNoAltGr{{}, {}};
// A layout with AltGr: AltGr+Q is @, AltGr+2 a dead tilde, AltGr+K nothing.
const testing::FakeLayout kWithAltGr{{},
                                     {{MakeKeyCode('Q', kCtrlAlt), kAt},
                                      {MakeKeyCode('2', kCtrlAlt), kDeadTilde},
                                      {MakeKeyCode('Q', kCtrlAlt | kModWin), kPlainQ}}};

struct AltGrCase {
  const char* what;
  const testing::FakeLayout* layout;
  bool rightAlt;
  KeyCode key;
  std::u16string typed;
  int presses;
  std::string lastLine;
};

void PrintTo(const AltGrCase& c, std::ostream* out) { *out << c.what; }

class HotKeyAltGrTest : public HotKeyEventsTest, public ::testing::WithParamInterface<AltGrCase> {};

TEST_P(HotKeyAltGrTest, AltGrTypesTheCharacterOfTheLayoutInFrontInsteadOfRunningACtrlAltShortcut) {
  const AltGrCase& c = GetParam();
  for (const KeyCode key : {MakeKeyCode('Q', kCtrlAlt), MakeKeyCode('K', kCtrlAlt), MakeKeyCode('2', kCtrlAlt),
                            MakeKeyCode('Q', kCtrlAlt | kModWin)}) {
    Register("G", KeyCodeVirtualKey(key), KeyCodeShiftKeys(key), "", kEveryMode, CountPress);
  }
  ShowEditingWindow();
  events.Tick();
  layouts.otherWindows = &kNoAltGr;
  layouts.byWindow[foreground.Handle()] = c.layout;
  keys.rightAltDown = c.rightAlt;
  keys.modifiersDown = kCtrlAlt;
  events.HandlePress(PressOf(c.key));
  EXPECT_EQ(keys.typed, c.typed);
  EXPECT_TRUE(keys.sent.empty());
  EXPECT_EQ(presses, c.presses);
  EXPECT_EQ(log.lines.back(), c.lastLine);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, HotKeyAltGrTest,
    ::testing::Values(AltGrCase{"AltGr+Q on a layout where it is @", &kWithAltGr, true, MakeKeyCode('Q', kCtrlAlt),
                                u"@", 0, "HotKey AltGr typed = 00510003"},
                      AltGrCase{"left Ctrl+left Alt+Q on that layout", &kWithAltGr, false, MakeKeyCode('Q', kCtrlAlt),
                                u"", 1, "HotKey called = 00510003"},
                      AltGrCase{"right Alt+Q on a layout without AltGr", &kNoAltGr, true, MakeKeyCode('Q', kCtrlAlt),
                                u"", 1, "HotKey called = 00510003"},
                      AltGrCase{"AltGr+K, which gives no character", &kWithAltGr, true, MakeKeyCode('K', kCtrlAlt), u"",
                                1, "HotKey called = 004B0003"},
                      AltGrCase{"AltGr+2, a dead key", &kWithAltGr, true, MakeKeyCode('2', kCtrlAlt), u"", 0,
                                "HotKey AltGr dead key, dropped = 00320003"},
                      AltGrCase{"AltGr+Win+Q, never AltGr's", &kWithAltGr, true, MakeKeyCode('Q', kCtrlAlt | kModWin),
                                u"", 1, "HotKey called = 0051000B"}));

TEST_F(HotKeyEventsTest, APressWithoutCtrlAndAltNeverAsksTheLayout) {
  Register("G", 'Q', kModControl | kModShift, "", kEveryMode, CountPress);
  ShowEditingWindow();
  events.Tick();
  layouts.otherWindows = &kWithAltGr;
  keys.rightAltDown = true;
  events.HandlePress(PressOf(MakeKeyCode('Q', kModControl | kModShift)));
  events.HandlePress(PressOf(kDesignKey));
  EXPECT_EQ(layouts.characterQuestions, 0);
  EXPECT_EQ(presses, 2);
}

}  // namespace
}  // namespace loomkeys
