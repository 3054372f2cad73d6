#include "registry/callback_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

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

// A double-byte code page in miniature: 0x81 leads a two-byte character
// (U+3000 plus the trail byte), and a lead byte with nothing after it
// becomes '?'. Every other byte reads as Latin-1.
std::u16string DoubleByteStandIn(std::string_view ansi) {
  std::u16string text;
  for (size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (byte != 0x81) {
      text += static_cast<char16_t>(byte);
    } else if (i + 1 < ansi.size()) {
      text += static_cast<char16_t>(0x3000 + static_cast<unsigned char>(ansi[++i]));
    } else {
      text += u'?';
    }
  }
  return text;
}

TEST(CallbackText, TheDoubledStringIsConvertedAsAWholeInADoubleByteCodePage) {
  struct Case {
    const char* ansi;
    std::u16string text;
  };
  const Case kCases[] = {
      {"ab\x81", u"ab\u3061b?"},   // the last lead byte pairs with the copy's first byte
      {"\x81x", u"\u3078\u3078"},  // complete characters are simply doubled
      {"\x81", u"\u3081"},         // a lone lead byte and its copy make one character
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.ansi);
    CallbackText text(c.ansi, DoubleByteStandIn);
    EXPECT_EQ(std::u16string(text.Text()), c.text);
    EXPECT_EQ(LengthWord(text.Text()), c.text.size());
  }
}

}  // namespace
}  // namespace loomkeys
