#include "events/chord_strokes.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_os/fake_keyboard_layouts.h"

namespace loomkeys {
namespace {

KeyStroke Down(uint16_t virtualKey, bool extended = false) { return {virtualKey, false, extended}; }
KeyStroke Up(uint16_t virtualKey, bool extended = false) { return {virtualKey, true, extended}; }

constexpr uint16_t kCtrl = 0x11, kShift = 0x10, kAlt = 0x12, kLeftWin = 0x5B;

struct ChordCase {
  const char* what;
  KeyCode chord;
  uint16_t modifiersDown;
  std::vector<KeyStroke> strokes;
};

void PrintTo(const ChordCase& c, std::ostream* out) { *out << c.what; }

class ChordStrokesTest : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ChordStrokesTest, OnlyTheShiftKeysNotHeldArePressedAndReleasedAroundTheKey) {
  const ChordCase& c = GetParam();
  testing::FakeKeyboardLayouts noTables;
  const ChordStrokes chord = StrokesOfChord(c.chord, c.modifiersDown, noTables, nullptr);
  EXPECT_EQ(std::vector<KeyStroke>(chord.strokes, chord.strokes + chord.count), c.strokes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Chords, ChordStrokesTest,
    ::testing::Values(ChordCase{"Ctrl+Shift+J, nothing held",
                                MakeKeyCode('J', kModControl | kModShift),
                                0,
                                {Down(kCtrl), Down(kShift), Down('J'), Up('J'), Up(kShift), Up(kCtrl)}},
                      ChordCase{"Alt+Win+F5, nothing held",
                                MakeKeyCode(0x74, kModAlt | kModWin),
                                0,
                                {Down(kAlt), Down(kLeftWin, true), Down(0x74), Up(0x74), Up(kLeftWin, true), Up(kAlt)}},
                      ChordCase{"Ctrl+Insert, an extended key",
                                MakeKeyCode(0x2D, kModControl),
                                0,
                                {Down(kCtrl), Down(0x2D, true), Up(0x2D, true), Up(kCtrl)}},
                      ChordCase{"Ctrl+Shift+J, both held",
                                MakeKeyCode('J', kModControl | kModShift),
                                kModControl | kModShift,
                                {Down('J'), Up('J')}},
                      ChordCase{"Ctrl+J while Alt is held: Alt is left alone",
                                MakeKeyCode('J', kModControl),
                                kModAlt,
                                {Down(kCtrl), Down('J'), Up('J'), Up(kCtrl)}},
                      ChordCase{"every shift key on Delete, all held",
                                MakeKeyCode(0x2E, kModAlt | kModControl | kModShift | kModWin),
                                kModAlt | kModControl | kModShift | kModWin,
                                {Down(0x2E, true), Up(0x2E, true)}},
                      ChordCase{"every shift key, none held",
                                MakeKeyCode('A', kModAlt | kModControl | kModShift | kModWin),
                                0,
                                {Down(kCtrl), Down(kShift), Down(kAlt), Down(kLeftWin, true), Down('A'), Up('A'),
                                 Up(kLeftWin, true), Up(kAlt), Up(kShift), Up(kCtrl)}}));

struct ExtendedCase {
  uint16_t virtualKey;
  bool extended;
};

class ExtendedKeyTest : public ::testing::TestWithParam<ExtendedCase> {};

TEST_P(ExtendedKeyTest, KeysWithTheE0PrefixCarryTheExtendedFlagAndTheirNumberPadTwinsDoNot) {
  EXPECT_EQ(NeedsExtendedKeyFlag(GetParam().virtualKey), GetParam().extended)
      << "virtual key 0x" << std::hex << GetParam().virtualKey;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ExtendedKeyTest,
    ::testing::Values(
        // The arrows, Insert, Delete, Home, End, Page Up and Page Down; their
        // number-pad twins have keys of their own with Num Lock on.
        ExtendedCase{0x25, true}, ExtendedCase{0x26, true}, ExtendedCase{0x27, true}, ExtendedCase{0x28, true},
        ExtendedCase{0x2D, true}, ExtendedCase{0x2E, true}, ExtendedCase{0x24, true}, ExtendedCase{0x23, true},
        ExtendedCase{0x21, true}, ExtendedCase{0x22, true}, ExtendedCase{0x64, false}, ExtendedCase{0x66, false},
        // The number pad's divide key and Num Lock; its other keys are not extended.
        ExtendedCase{0x6F, true}, ExtendedCase{0x90, true}, ExtendedCase{0x6A, false}, ExtendedCase{0x6D, false},
        // Right-hand Ctrl and Alt, both Win keys, the menu key; the left-hand
        // Ctrl, Alt and Shift are not.
        ExtendedCase{0xA3, true}, ExtendedCase{0xA5, true}, ExtendedCase{0x5B, true}, ExtendedCase{0x5C, true},
        ExtendedCase{0x5D, true}, ExtendedCase{0x11, false}, ExtendedCase{0x12, false}, ExtendedCase{0x10, false},
        ExtendedCase{0xA2, false}, ExtendedCase{0xA4, false},
        // Print Screen, Ctrl+Break and the media keys.
        ExtendedCase{0x2C, true}, ExtendedCase{0x03, true}, ExtendedCase{0xAD, true}, ExtendedCase{0xB3, true},
        // Letters, digits, function keys, Enter, Space.
        ExtendedCase{'J', false}, ExtendedCase{'0', false}, ExtendedCase{0x74, false}, ExtendedCase{0x0D, false},
        ExtendedCase{0x20, false}));

struct LayoutCase {
  const char* what;
  uint16_t virtualKey;
  ScanCode scanCode;  // in the layout of the window in front
  std::vector<KeyStroke> strokes;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.what; }

class LayoutStrokesTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutStrokesTest, TheStrokesCarryTheScanCodesOfTheLayoutTheyAreTypedFor) {
  const LayoutCase& c = GetParam();
  // The window in front has a layout of its own; another program's (the
  // library's own thread, say) has the keys elsewhere.
  const testing::FakeLayout front{{{kCtrl, {0x1D, false}}, {c.virtualKey, c.scanCode}}, {}};
  const testing::FakeLayout elsewhere{{{kCtrl, {0x1D, false}}, {c.virtualKey, {0x7E, false}}}, {}};
  testing::FakeKeyboardLayouts layouts;
  layouts.otherWindows = &elsewhere;
  const ChordStrokes chord = StrokesOfChord(MakeKeyCode(c.virtualKey, kModControl), 0, layouts, &front);
  EXPECT_EQ(std::vector<KeyStroke>(chord.strokes, chord.strokes + chord.count), c.strokes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutStrokesTest,
                         ::testing::Values(LayoutCase{"Z where a QWERTZ layout has it",
                                                      'Z',
                                                      {0x15, false},
                                                      {{kCtrl, false, false, 0x1D},
                                                       {'Z', false, false, 0x15},
                                                       {'Z', true, false, 0x15},
                                                       {kCtrl, true, false, 0x1D}}},
                                           LayoutCase{"Z where a QWERTY layout has it",
                                                      'Z',
                                                      {0x2C, false},
                                                      {{kCtrl, false, false, 0x1D},
                                                       {'Z', false, false, 0x2C},
                                                       {'Z', true, false, 0x2C},
                                                       {kCtrl, true, false, 0x1D}}},
                                           LayoutCase{"a key that the layout sends with E0",
                                                      0xDF,
                                                      {0x5D, true},
                                                      {{kCtrl, false, false, 0x1D},
                                                       {0xDF, false, true, 0x5D},
                                                       {0xDF, true, true, 0x5D},
                                                       {kCtrl, true, false, 0x1D}}},
                                           LayoutCase{"an arrow that the layout reports without E0 keeps it",
                                                      0x25,
                                                      {0x4B, false},
                                                      {{kCtrl, false, false, 0x1D},
                                                       {0x25, false, true, 0x4B},
                                                       {0x25, true, true, 0x4B},
                                                       {kCtrl, true, false, 0x1D}}}));

}  // namespace
}  // namespace loomkeys
