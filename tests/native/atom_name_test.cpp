#include "hotkeys/atom_name.h"

#include <gtest/gtest.h>

namespace loomkeys {
namespace {

TEST(AtomName, EncodesKeyAndShiftKeysAsEighteenUpperCaseCharacters) {
  EXPECT_EQ(HotKeyAtomName(0x74, 6), "PowerPoint00740006");
  EXPECT_EQ(HotKeyAtomName(0x0D, 0), "PowerPoint000D0000");
  EXPECT_EQ(HotKeyAtomName(0xFFFF, 0xABCD), "PowerPointFFFFABCD");
}

TEST(AtomName, ParsesBackWhatItWrites) {
  for (uint16_t vk : {0x00, 0x0D, 0x41, 0xBB, 0xFFFF}) {
    for (uint16_t sk : {0, 1, 6, 8, 0xFFFF}) {
      EXPECT_EQ(ParseHotKeyAtomName(HotKeyAtomName(vk, sk)), MakeKeyCode(vk, sk));
    }
  }
}

TEST(AtomName, RejectsTextThatIsNoAtomName) {
  for (const char* text :
       {"", "PowerPoint0074000", "PowerPoint007400060", "Powerpoint00740006", "PowerPoint0074000G"}) {
    EXPECT_FALSE(ParseHotKeyAtomName(text).has_value()) << text;
  }
}

TEST(AtomName, NamesSortInKeyCodeOrder) {
  EXPECT_LT(HotKeyAtomName(0x0D, 0), HotKeyAtomName(0x74, 6));
  EXPECT_LT(HotKeyAtomName(0x41, 0xFFFF), HotKeyAtomName(0x42, 0));
  EXPECT_LT(MakeKeyCode(0x41, 0xFFFF), MakeKeyCode(0x42, 0));
}

}  // namespace
}  // namespace loomkeys
