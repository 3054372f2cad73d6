#include "registry/namespace_blob.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace loomkeys {
namespace {

std::vector<uint8_t> Bytes(std::string_view hex) { return HexTextToBytes(hex).value(); }

// What ReadNamespaceBlob handed on, one line per record.
struct ReadResult {
  Result result;
  std::vector<std::string> records;
};

ReadResult Read(std::span<const uint8_t> blob, BlobLayout layout) {
  ReadResult read{kOk, {}};
  read.result = ReadNamespaceBlob(blob, layout, [&](const BlobRecord& record) {
    read.records.push_back(std::to_string(record.virtualKey) + "/" + std::to_string(record.shiftKeys) + "/" +
                           std::to_string(record.activeMode) + "/" + std::string(record.context));
  });
  return read;
}

TEST(HexTextTest, BytesBecomeTwoUpperCaseDigitsEachHighNibbleFirst) {
  const std::vector<uint8_t> bytes{0x00, 0x0F, 0xA0, 0xFF, 0x5C};
  EXPECT_EQ(BytesToHexText(bytes), "000FA0FF5C");
  EXPECT_EQ(BytesToHexText({}), "");
}

TEST(HexTextTest, DigitsOfEitherCaseAreRead) {
  EXPECT_EQ(Bytes("000fA0Ff5c"), (std::vector<uint8_t>{0x00, 0x0F, 0xA0, 0xFF, 0x5C}));
  EXPECT_EQ(Bytes("abcdef"), Bytes("ABCDEF"));
  EXPECT_TRUE(Bytes("").empty());
}

TEST(HexTextTest, ATrailingOddCharacterIsIgnoredWhateverItIs) {
  EXPECT_EQ(Bytes("41F"), std::vector<uint8_t>{0x41});
  EXPECT_EQ(Bytes("41z"), std::vector<uint8_t>{0x41});
  EXPECT_TRUE(Bytes("7").empty());
}

TEST(HexTextTest, APairThatIsNotTwoHexadecimalDigitsRejectsTheText) {
  for (const char* text : {"4G", "G4", "0041 1", "+1", "0x10", "41-2", "g0", "@0", "`0", "/0", ":0"}) {
    EXPECT_FALSE(HexTextToBytes(text).has_value()) << text;
  }
  EXPECT_FALSE(HexTextToBytes(std::string{'\0', '0'}).has_value());
}

TEST(NamespaceBlobTest, SizeAndBytesFollowTheLayout) {
  RegistryEntry a{"ns", 0x41, 2, 1, nullptr, "abc", 1, nullptr};
  RegistryEntry b{"ns", 0x74, 6, 0xFFFF, nullptr, "", 2, nullptr};
  const std::vector<const RegistryEntry*> entries{&a, &b};

  EXPECT_EQ(NamespaceBlobSize(entries, BlobLayout::kWithoutActiveMode), 4u + 11 + 8);
  // Hex texts stay split into records and fields; clang-format would give every piece a line.
  // clang-format off
  EXPECT_EQ(BytesToHexText(WriteNamespaceBlob(entries, BlobLayout::kWithoutActiveMode)),
            "14000000"
            "4100" "0200" "03000000" "616263"
            "7400" "0600" "00000000");
  EXPECT_EQ(NamespaceBlobSize(entries, BlobLayout::kWithActiveMode), 4u + 13 + 10);
  EXPECT_EQ(BytesToHexText(WriteNamespaceBlob(entries, BlobLayout::kWithActiveMode)),
            "14000000"
            "4100" "0200" "0100" "03000000" "616263"
            "7400" "0600" "FFFF" "00000000");
  // clang-format on
}

TEST(NamespaceBlobTest, NoEntriesMeansNoBlobAtAllNotEvenTheVersion) {
  EXPECT_EQ(NamespaceBlobSize({}, BlobLayout::kWithActiveMode), 0u);
  EXPECT_TRUE(WriteNamespaceBlob({}, BlobLayout::kWithActiveMode).empty());
}

TEST(NamespaceBlobTest, ReadingHandsOnEveryRecordInOrder) {
  // clang-format off
  const auto first = Read(Bytes("14000000" "4100020003000000616263" "7400060000000000"), BlobLayout::kWithoutActiveMode);
  // clang-format on
  EXPECT_EQ(first.result, kOk);
  EXPECT_EQ(first.records, (std::vector<std::string>{"65/2/65535/abc", "116/6/65535/"}));

  // clang-format off
  const auto second = Read(Bytes("0A000000" "41000200010003000000616263" "740006000200" "00000000"),
                           BlobLayout::kWithActiveMode);
  // clang-format on
  EXPECT_EQ(second.result, kOk);
  EXPECT_EQ(second.records, (std::vector<std::string>{"65/2/1/abc", "116/6/2/"}));
}

TEST(NamespaceBlobTest, AVersionWordAloneIsAnEmptyBlob) {
  const auto read = Read(Bytes("14000000"), BlobLayout::kWithActiveMode);
  EXPECT_EQ(read.result, kOk);
  EXPECT_TRUE(read.records.empty());
}

TEST(NamespaceBlobTest, AWrongOrMissingVersionHandsOnNothing) {
  // clang-format off
  for (const char* hex : {"", "140000", "1E000000" "4100020003000000616263", "15000000" "41000200",
                          "00000000", "14000001" "4100020000000000"}) {
    // clang-format on
    for (BlobLayout layout : {BlobLayout::kWithoutActiveMode, BlobLayout::kWithActiveMode}) {
      const auto read = Read(Bytes(hex), layout);
      EXPECT_EQ(read.result, kErrorRaised) << hex;
      EXPECT_TRUE(read.records.empty()) << hex;
    }
  }
}

// The blob sits in a longer buffer whose tail looks like more context, so a
// reader that went past the end would hand on a record it must not see.
TEST(NamespaceBlobTest, ACutOffLastRecordGivesSixAfterTheCompleteRecordsAndReadsNothingPastTheEnd) {
  struct Case {
    const char* name;
    const char* hex;
    BlobLayout layout;
  };
  // clang-format off
  const std::string complete = "14000000" "4100020001000000" "78";  // one record, context "x"
  // clang-format on
  const Case cases[] = {
      {"header cut in the key", "42", BlobLayout::kWithoutActiveMode},
      {"header cut in the length", "420002000300", BlobLayout::kWithoutActiveMode},
      {"context shorter than its length", "42000200030000006162", BlobLayout::kWithoutActiveMode},
      {"length of 4 G minus 1", "42000200FFFFFFFF6162", BlobLayout::kWithoutActiveMode},
      {"length that wraps the position", "42000200F7FFFFFF", BlobLayout::kWithoutActiveMode},
      {"second layout cut in the mode", "4200020001", BlobLayout::kWithActiveMode},
      {"second layout with a long length", "420002000100FFFFFF7F6162", BlobLayout::kWithActiveMode},
  };
  for (const Case& c : cases) {
    std::string hex = complete;
    // clang-format off
    if (c.layout == BlobLayout::kWithActiveMode) hex = "14000000" "410002000100" "01000000" "78";
    // clang-format on
    const std::vector<uint8_t> blob = Bytes(hex + c.hex);
    std::vector<uint8_t> padded = blob;
    padded.insert(padded.end(), 64, 'p');
    const auto read = Read(std::span(padded).first(blob.size()), c.layout);
    EXPECT_EQ(read.result, kErrorRaised) << c.name;
    const std::string kept = c.layout == BlobLayout::kWithActiveMode ? "65/2/1/x" : "65/2/65535/x";
    EXPECT_EQ(read.records, std::vector<std::string>{kept}) << c.name;
  }
}

}  // namespace
}  // namespace loomkeys
