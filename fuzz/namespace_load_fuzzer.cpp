// Feeds arbitrary text to both blob loads. Whatever the text, a load answers
// 0 or 6, never reads outside the text (the sanitizers watch that), leaves a
// sound registry, and what it registered saves as a blob that reads back in
// full.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"

using namespace loomkeys;

namespace {

void CheckSavedBlobReadsBackInFull(ShortcutRegistry& registry, BlobLayout layout) {
  const uint32_t count = registry.GetShortcutCount("N");
  std::string text(registry.GetNamespaceDataSize("N", layout), '\0');
  uint32_t size = static_cast<uint32_t>(text.size());
  const Result saved = registry.GetNamespaceData("N", layout, text.data(), &size);
  FUZZ_CHECK(saved == (count == 0 ? kNoEntries : kOk));
  FUZZ_CHECK(size == text.size());
  if (count == 0) return;

  const auto blob = HexTextToBytes(text);
  FUZZ_CHECK(blob.has_value());
  uint32_t records = 0;
  FUZZ_CHECK(ReadNamespaceBlob(*blob, layout, [&](const BlobRecord&) { ++records; }) == kOk);
  FUZZ_CHECK(records == count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The exports read the text up to its NUL.
  std::string_view text(reinterpret_cast<const char*>(data), size);
  text = text.substr(0, text.find('\0'));

  for (BlobLayout layout : {BlobLayout::kWithoutActiveMode, BlobLayout::kWithActiveMode}) {
    testing::FakeHotKeySystem system;
    HotKeyTable table(system);
    ShortcutRegistry registry(table, reinterpret_cast<WindowHandle>(1));
    const Result result = registry.LoadNamespace("N", layout, nullptr, text);
    FUZZ_CHECK(result == kOk || result == kErrorRaised);
    fuzz::CheckRegistryIsSound(registry, system);
    CheckSavedBlobReadsBackInFull(registry, layout);
    registry.UnloadNamespace("N");
    FUZZ_CHECK(registry.Keys().empty());
    FUZZ_CHECK(system.BoundKeys().empty());
  }
  return 0;
}
