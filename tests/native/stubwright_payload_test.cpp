#include "core/payload.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>

// Records the largest single allocation made while a test watches, to show
// that no length inside a payload decides how much memory is asked for.
namespace {
bool watchingAllocations = false;
size_t largestAllocation = 0;
}  // namespace

void* operator new(size_t size) {
  if (watchingAllocations && size > largestAllocation) largestAllocation = size;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace stubwright {
namespace {

std::string Field(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF), static_cast<char>((bits >> 16) & 0xFF),
          static_cast<char>(bits >> 24)};
}

std::string Counted(std::string_view text) { return Field(static_cast<int32_t>(text.size())) + std::string(text); }

bool operator==(const Payload& a, const Payload& b) {
  return a.verb == b.verb && a.command == b.command && a.arguments == b.arguments;
}

TEST(PayloadEncoding, WritesVerbCommandCountAndArgumentsAsLittleEndianCountedStrings) {
  const Payload payload{"open", "C:\\Tools\\x.exe", {"x y", "", "'q'"}};
  const std::string expected = std::string("\x04\0\0\0open", 8) + std::string("\x0E\0\0\0", 4) + "C:\\Tools\\x.exe" +
                               std::string("\x03\0\0\0", 4) + std::string("\x03\0\0\0x y", 7) +
                               std::string("\0\0\0\0", 4) + std::string("\x03\0\0\0'q'", 7);
  EXPECT_EQ(EncodePayload(payload), expected);
}

TEST(PayloadEncoding, LengthsAboveOneByteUseTheHigherBytes) {
  const std::string verb(0x1234, 'v');
  const std::string bytes = EncodePayload(Payload{verb, "", {}});
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x34\x12\0\0", 4));
  const std::optional<Payload> decoded = DecodePayload(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->verb, verb);
}

TEST(PayloadDecoding, ReadsBackWhatWasEncoded) {
  const Payload cases[] = {
      {"", "", {}},
      {"open", "notepad.exe", {"a.txt"}},
      {"runas", "cmd", {"/c", "'echo hi'", "", std::string("\0\xFF\x80", 3)}},
  };
  for (const Payload& payload : cases) {
    const std::optional<Payload> decoded = DecodePayload(EncodePayload(payload));
    ASSERT_TRUE(decoded) << payload.command;
    EXPECT_TRUE(*decoded == payload) << payload.command;
  }
}

TEST(PayloadDecoding, IgnoresBytesAfterTheLastArgument) {
  const Payload payload{"open", "x.exe", {"a"}};
  const std::optional<Payload> decoded = DecodePayload(EncodePayload(payload) + "trailing signature");
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(*decoded == payload);
}

TEST(PayloadDecoding, RejectsEveryTruncatedPayload) {
  const std::string bytes = EncodePayload(Payload{"open", "x.exe", {"a", "", "bc"}});
  for (size_t length = 0; length < bytes.size(); ++length)
    EXPECT_FALSE(DecodePayload(std::string_view(bytes).substr(0, length))) << "cut at " << length;
}

struct BogusCase {
  const char* name;
  std::string bytes;
};

class BogusPayloadTest : public ::testing::TestWithParam<BogusCase> {};

TEST_P(BogusPayloadTest, IsRejectedWithoutAnAllocationOfItsClaimedSize) {
  largestAllocation = 0;
  watchingAllocations = true;
  const bool decoded = DecodePayload(GetParam().bytes).has_value();
  watchingAllocations = false;
  EXPECT_FALSE(decoded);
  EXPECT_LT(largestAllocation, 1024u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BogusPayloadTest,
    ::testing::Values(
        BogusCase{"NegativeVerbLength", Field(-1) + "open" + Counted("x") + Field(0)},
        BogusCase{"MostNegativeVerbLength", Field(INT32_MIN) + "open" + Counted("x") + Field(0)},
        BogusCase{"HugeVerbLength", Field(INT32_MAX) + "open" + Counted("x") + Field(0)},
        BogusCase{"VerbLengthOneByteTooLong", Field(5) + "open"},
        BogusCase{"NegativeCommandLength", Counted("open") + Field(-4) + "x" + Field(0)},
        BogusCase{"HugeCommandLength", Counted("open") + Field(0x10000000) + "x" + Field(0)},
        BogusCase{"MissingCount", Counted("open") + Counted("x")},
        BogusCase{"NegativeCount", Counted("open") + Counted("x") + Field(-1) + Counted("a")},
        BogusCase{"HugeCount", Counted("open") + Counted("x") + Field(INT32_MAX) + Counted("a")},
        BogusCase{"CountAboveTheArgumentsPresent", Counted("open") + Counted("x") + Field(2) + Counted("a")},
        BogusCase{"NegativeArgumentLength", Counted("open") + Counted("x") + Field(1) + Field(-2) + "ab"},
        BogusCase{"HugeArgumentLength", Counted("open") + Counted("x") + Field(1) + Field(INT32_MAX) + "ab"}),
    [](const ::testing::TestParamInfo<BogusCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stubwright
