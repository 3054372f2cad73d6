#include "registry/callback_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace loomkeys {
namespace {

uint32_t LengthWord(const char16_t* text) {
  uint32_t length;
  std::memcpy(&length, reinterpret_cast<const char*>(text) - 4, 4);
  return length;
}

TEST(CallbackText, HoldsTheStringTwiceWithItsUnitCountBeforeIt) {
  CallbackText text("abc");
  EXPECT_EQ(std::u16string(text.Text()), u"abcabc");
  EXPECT_EQ(LengthWord(text.Text()), 6u);
}

TEST(CallbackText, ReadAsAByteCountedStringGivesThePlainString) {
  CallbackText text("Tools");
  const uint32_t bytes = LengthWord(text.Text());
  EXPECT_EQ(std::u16string(text.Text(), bytes / sizeof(char16_t)), u"Tools");
}

TEST(CallbackText, EmptyStringIsASingleZeroWithLengthZero) {
  CallbackText text("");
  EXPECT_EQ(text.Text()[0], u'\0');
  EXPECT_EQ(LengthWord(text.Text()), 0u);
}

TEST(CallbackText, ConvertsAnsiBytesThroughTheCodePage) {
  CallbackText text("\xE4");  // a-umlaut in the Latin-1 stand-in
  EXPECT_EQ(std::u16string(text.Text()), u"\u00E4\u00E4");
}

}  // namespace
}  // namespace loomkeys
