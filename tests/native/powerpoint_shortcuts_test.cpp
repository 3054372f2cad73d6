#include "customize/powerpoint_shortcuts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace loomkeys {
namespace {

struct ExpectedRow {
  int row;
  uint16_t vk;
  uint8_t sk;  // hot-key control bits: 0x01 Shift, 0x02 Ctrl, 0x04 Alt
  const char16_t* cm;
};

// PowerPoint's shortcuts as the product documents them, row by row.
const ExpectedRow kExpected[] = {
    {1, 0x09, 0x03, u"Switch between Slides and Outline tabs (PPTXP)"},
    {2, 0x72, 0x01, u"Change the case of letters"},
    {3, 0x73, 0x04, u"Quit PowerPoint"},
    {4, 0x73, 0x02, u"Close a presentation"},
    {5, 0x73, 0x01, u"Repeat the last Find action"},
    {6, 0x74, 0x00, u"Run a presentation"},
    {7, 0x74, 0x02, u"Restore the size of the active window after you've maximized it"},
    {8, 0x75, 0x00, u"Move clockwise among panes of normal view"},
    {9, 0x75, 0x02, u"When more than one window is open, switch to the next window"},
    {10, 0x75, 0x01, u"Move counterclockwise among panes of normal view"},
    {11, 0x75, 0x03, u"Switch to the previous window"},
    {12, 0x76, 0x00, u"Check spelling"},
    {13, 0x78, 0x04, u"Show or hide guides (PPTXP)"},
    {14, 0x78, 0x01, u"Show or hide the grid (PPTXP)"},
    {15, 0x41, 0x02, u"Select all objects, slides or text"},
    {16, 0x41, 0x05, u"Show all or collapse all text or headings"},
    {17, 0x42, 0x02, u"Apply bold formatting"},
    {18, 0x43, 0x02, u"Copy selected objects, slides or text"},
    {19, 0x43, 0x03, u"Copy selected object attributes or text format"},
    {20, 0x44, 0x02, u"Make a copy of the selected slide"},
    {21, 0x45, 0x02, u"Center a paragraph"},
    {22, 0x46, 0x02, u"Find text"},
    {23, 0x46, 0x03, u"Change the font"},
    {24, 0x47, 0x02, u"Change grid or guide settings (PPTXP)"},
    {25, 0x47, 0x03, u"Group selected objects"},
    {26, 0x48, 0x02, u"Replace text"},
    {27, 0x48, 0x03, u"Ungroup selected group"},
    {28, 0x49, 0x02, u"Apply italic formatting"},
    {29, 0x4A, 0x02, u"Justify a paragraph"},
    {30, 0x4B, 0x02, u"Insert a hyperlink"},
    {31, 0x4C, 0x02, u"Left align a paragraph"},
    {32, 0x4D, 0x02, u"Insert a new slide"},
    {33, 0x4E, 0x02, u"Create a new presentation"},
    {34, 0x4F, 0x02, u"Open a presentation"},
    {35, 0x50, 0x02, u"Print a presentation"},
    {36, 0x50, 0x03, u"Change the font size"},
    {37, 0x52, 0x02, u"Right align a paragraph"},
    {38, 0x53, 0x02, u"Save a presentation"},
    {39, 0x54, 0x02, u"Change the formatting of characters between sentence, lowercase, or uppercase"},
    {40, 0x55, 0x04, u"Choose AutoShape on the Drawing toolbar"},
    {41, 0x55, 0x02, u"Apply an underline"},
    {42, 0x56, 0x02, u"Paste cut or copied objects, slides or text"},
    {43, 0x56, 0x03, u"Apply (Paste) copied object attributes or text format"},
    {44, 0x57, 0x02, u"Close a presentation"},
    {45, 0x58, 0x02, u"Cut selected objects, slides or text"},
    {46, 0x59, 0x02, u"Redo or repeat an action"},
    {47, 0x5A, 0x02, u"Undo an action"},
    {48, 0x31, 0x05, u"Show heading level 1"},
    {49, 0xBB, 0x02, u"Apply subscript formatting (automatic spacing)"},
    {50, 0xBB, 0x03, u"Apply superscript formatting (automatic spacing)"},
    {51, 0x25, 0x00, u"Move one character to the left"},
    {52, 0x25, 0x02, u"Move one word to the left"},
    {53, 0x25, 0x01, u"Select one character to the left"},
    {54, 0x25, 0x05, u"Promote a paragraph"},
    {55, 0x25, 0x03, u"Select to the beginning of a word"},
    {56, 0x27, 0x00, u"Move one character to the right"},
    {57, 0x27, 0x02, u"Move one word to the right"},
    {58, 0x27, 0x01, u"Select one character to the right"},
    {59, 0x27, 0x05, u"Demote a paragraph"},
    {60, 0x27, 0x03, u"Select to the end of a word"},
    {61, 0x26, 0x00, u"Move one line up"},
    {62, 0x26, 0x02, u"Move up one paragraph"},
    {63, 0x26, 0x01, u"Select one line up"},
    {64, 0x26, 0x05, u"Move selected paragraphs up"},
    {65, 0x28, 0x00, u"Move one line down"},
    {66, 0x28, 0x02, u"Move down one paragraph"},
    {67, 0x28, 0x01, u"Select one line down"},
    {68, 0x28, 0x05, u"Move selected paragraphs down"},
    {69, 0x6B, 0x05, u"Expand text below a heading"},
    {70, 0x6D, 0x05, u"Collapse text below a heading"},
    {71, 0x6F, 0x00, u"Turn character formatting on or off"},
    {72, 0x23, 0x00, u"Move to end of a line"},
    {73, 0x23, 0x02, u"Move to the end of a textbox"},
    {74, 0x24, 0x00, u"Move to beginning of a line"},
    {75, 0x24, 0x02, u"Move to the beginning of a textbox"},
    {76, 0xBE, 0x03, u"Increase the font size"},
    {77, 0xBC, 0x03, u"Decrease the font size"},
};

std::u16string Find(uint16_t vk, uint8_t sk) { return std::u16string(FindPowerPointShortcut(vk, sk)); }

TEST(PowerPointShortcutsTest, TheTableHoldsEveryDocumentedRowInOrder) {
  ASSERT_EQ(std::size(kExpected), kPowerPointShortcuts.size());
  for (const ExpectedRow& expected : kExpected) {
    SCOPED_TRACE(testing::Message() << "row " << expected.row);
    const PowerPointShortcut& row = kPowerPointShortcuts[static_cast<size_t>(expected.row - 1)];
    EXPECT_EQ(row.virtualKey, expected.vk);
    EXPECT_EQ(row.hotKeyFlags, expected.sk);
    ASSERT_NE(row.action, nullptr);
    EXPECT_EQ(std::u16string(row.action), expected.cm);
  }
}

TEST(PowerPointShortcutsTest, EveryRowIsFoundByItsKeyAndModifierByte) {
  for (const ExpectedRow& expected : kExpected) {
    SCOPED_TRACE(testing::Message() << "row " << expected.row);
    EXPECT_EQ(Find(expected.vk, expected.sk), expected.cm);
  }
}

TEST(PowerPointShortcutsTest, NoKeyAndModifierPairOccursTwice) {
  std::set<std::pair<uint16_t, uint8_t>> pairs;
  for (const PowerPointShortcut& row : kPowerPointShortcuts) pairs.insert({row.virtualKey, row.hotKeyFlags});
  EXPECT_EQ(pairs.size(), kPowerPointShortcuts.size());
}

TEST(PowerPointShortcutsTest, ModifierBitsAreThoseOfTheHotKeyControlAndAreComparedWhole) {
  struct Lookup {
    uint16_t vk;
    uint8_t sk;
    const char16_t* expected;
  };
  const Lookup lookups[] = {
      {0x41, 0x02, u"Select all objects, slides or text"},
      {0x41, 0x00, u""},  // A alone is no row
      {0x41, 0x07, u""},  // rows 15 and 16 hold only some of these bits
      {0x41, 0x06, u""},
      {0x73, 0x04, u"Quit PowerPoint"},  // 0x04 is Alt here, not Shift
      {0x73, 0x02, u"Close a presentation"},
      {0x73, 0x01, u"Repeat the last Find action"},
      {0x57, 0x02, u"Close a presentation"},
      {0x09, 0x03, u"Switch between Slides and Outline tabs (PPTXP)"},
      {0x25, 0x01, u"Select one character to the left"},
      {0x25, 0x09, u""},  // Shift with the extended-key bit
      {0x25, 0x08, u""},  // the extended-key bit alone is not "no modifier"
      {0xBB, 0x02, u"Apply subscript formatting (automatic spacing)"},
      {0xBB, 0x03, u"Apply superscript formatting (automatic spacing)"},
      {0x00, 0x00, u""},
      {0x00, 0x02, u""},
      {0x141, 0x02, u""},  // a key above 0xFF is not taken as its low byte
      {0x1A41, 0x02, u""},
      {0xFF41, 0x02, u""},
  };
  for (const Lookup& lookup : lookups) {
    SCOPED_TRACE(testing::Message() << std::hex << "vk 0x" << lookup.vk << " sk 0x" << int{lookup.sk});
    EXPECT_EQ(Find(lookup.vk, lookup.sk), lookup.expected);
  }
}

}  // namespace
}  // namespace loomkeys
