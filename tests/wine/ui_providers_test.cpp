// Registers and unregisters UI providers of both versions through the real
// Loomkeys.dll, with records laid out byte by byte at their documented offsets.
#include <windows.h>

#include <cstring>
#include <vector>

#include "loomkeys_dll.h"
#include "wine_check.h"

namespace {

int providerCalls = 0;
void LOOMKEYS_CALL OnCreateUI(TUIDataHandle*) { ++providerCalls; }
void LOOMKEYS_CALL OnDestroyUI(TUIDataHandle, uint16_t) { ++providerCalls; }

template <typename T>
void Put(std::byte* record, size_t offset, T value) {
  std::memcpy(record + offset, &value, sizeof value);
}

// Version 10: Version at 0, OnCreateUI at 4, OnDestroyUI at 12; 20 bytes.
void WriteNativeRecord(std::byte* record) {
  Put<int32_t>(record, 0, 10);
  Put(record, 4, reinterpret_cast<uint64_t>(&OnCreateUI));
  Put(record, 12, reinterpret_cast<uint64_t>(&OnDestroyUI));
}

// Version 20: Version at 0, 4 reserved bytes, the macro names at 8 and 16; 24 bytes.
void WriteMacroRecord(std::byte* record, const char* onCreateUIMacro, const char* onDestroyUIMacro) {
  Put<int32_t>(record, 0, 20);
  Put<uint32_t>(record, 4, 0xCCCCCCCC);
  Put(record, 8, reinterpret_cast<uint64_t>(onCreateUIMacro));
  Put(record, 16, reinterpret_cast<uint64_t>(onDestroyUIMacro));
}

const TUIProvider* AsRecord(const std::byte* bytes) { return reinterpret_cast<const TUIProvider*>(bytes); }

// Two pages: the first readable, the second not, so that a record placed at
// the end of the first shows whether anything past it is read.
class GuardedPage {
 public:
  GuardedPage() {
    base_ = static_cast<std::byte*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(base_ + kPage, kPage, PAGE_NOACCESS, &old);
  }
  ~GuardedPage() { VirtualFree(base_, 0, MEM_RELEASE); }
  std::byte* LastBytes(size_t size) { return base_ + kPage - size; }

 private:
  static constexpr size_t kPage = 4096;
  std::byte* base_ = nullptr;
};

}  // namespace

int main() {
  const auto& dll = loomkeys_dll::Load();

  std::byte native[20];
  WriteNativeRecord(native);
  std::vector<char> createName(std::begin("Module1.OnCreateUI"), std::end("Module1.OnCreateUI"));
  std::byte macro[24];
  WriteMacroRecord(macro, createName.data(), nullptr);

  wine_check::Section("both versions register; the same record twice gives two handles");
  TUIProviderHandle a = nullptr, b = nullptr, c = nullptr, d = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(AsRecord(native), &a), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterUIProvider(AsRecord(macro), &b), LOOMKEYS_OK);
  createName.assign(createName.size(), 'x');  // the caller may reuse its strings at once
  CHECK_EQ(dll.InitializeKeyloomAddin(AsRecord(native), &c), LOOMKEYS_OK);
  CHECK_EQ(dll.InitializeKeyloomAddin(AsRecord(macro), &d), LOOMKEYS_OK);
  CHECK(a && b && c && d);
  CHECK(a != c && b != d && a != b);

  wine_check::Section("an unknown version answers 7 and leaves the handle variable as it was");
  const auto marker = reinterpret_cast<TUIProviderHandle>(0x5A5A);
  for (int32_t version : {15, 0, -1, 11, 21}) {
    std::byte record[24] = {};
    Put(record, 0, version);
    TUIProviderHandle handle = marker;
    CHECK_EQ(dll.RegisterUIProvider(AsRecord(record), &handle), LOOMKEYS_CALL_FAILED);
    CHECK_EQ(dll.InitializeKeyloomAddin(AsRecord(record), &handle), LOOMKEYS_CALL_FAILED);
    CHECK(handle == marker);
  }
  {
    // Not written at all, not even with its own value: a read-only variable
    // does not fault.
    auto* readOnly = static_cast<TUIProviderHandle*>(
        VirtualAlloc(nullptr, sizeof(TUIProviderHandle), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    *readOnly = marker;
    DWORD old = 0;
    VirtualProtect(readOnly, sizeof(TUIProviderHandle), PAGE_READONLY, &old);
    std::byte record[24] = {};
    Put<int32_t>(record, 0, 15);
    CHECK_EQ(dll.RegisterUIProvider(AsRecord(record), readOnly), LOOMKEYS_CALL_FAILED);
    CHECK_EQ(dll.InitializeKeyloomAddin(AsRecord(record), readOnly), LOOMKEYS_CALL_FAILED);
    CHECK(*readOnly == marker);
    VirtualFree(readOnly, 0, MEM_RELEASE);
  }

  wine_check::Section("null pointers answer 7");
  TUIProviderHandle handle = marker;
  CHECK_EQ(dll.RegisterUIProvider(nullptr, &handle), LOOMKEYS_CALL_FAILED);
  CHECK(handle == marker);
  CHECK_EQ(dll.RegisterUIProvider(AsRecord(native), nullptr), LOOMKEYS_CALL_FAILED);
  CHECK_EQ(dll.InitializeKeyloomAddin(nullptr, nullptr), LOOMKEYS_CALL_FAILED);

  wine_check::Section("a record is read no further than its version's size");
  GuardedPage page;
  std::byte* nativeAtEnd = page.LastBytes(20);
  WriteNativeRecord(nativeAtEnd);
  TUIProviderHandle e = nullptr, f = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(AsRecord(nativeAtEnd), &e), LOOMKEYS_OK);
  std::byte* macroAtEnd = page.LastBytes(24);
  WriteMacroRecord(macroAtEnd, "", "Module1.OnDestroyUI");
  CHECK_EQ(dll.RegisterUIProvider(AsRecord(macroAtEnd), &f), LOOMKEYS_OK);

  wine_check::Section("the header's record types match the byte layout");
  TUIProvider typedNative = {};
  typedNative.Native.Version = LOOMKEYS_PROVIDER_NATIVE;
  typedNative.Native.OnCreateUI = &OnCreateUI;
  CHECK(std::memcmp(&typedNative.Native, native, 12) == 0);
  TUIProvider typedMacro = {};
  typedMacro.Macro.Version = LOOMKEYS_PROVIDER_MACRO;
  typedMacro.Macro.OnCreateUIMacro = "Module1.OnCreateUI";
  TUIProviderHandle g = nullptr, h = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(&typedNative, &g), LOOMKEYS_OK);
  CHECK_EQ(dll.InitializeKeyloomAddin(&typedMacro, &h), LOOMKEYS_OK);

  wine_check::Section("unregistering goes by identity: 0 once, then 8");
  for (TUIProviderHandle provider : {b, a, d}) {
    CHECK_EQ(dll.UnregisterUIProvider(provider), LOOMKEYS_OK);
    CHECK_EQ(dll.UnregisterUIProvider(provider), LOOMKEYS_UNKNOWN_PROVIDER);
  }
  CHECK_EQ(dll.UnregisterUIProvider(nullptr), LOOMKEYS_UNKNOWN_PROVIDER);
  CHECK_EQ(dll.UnregisterUIProvider(marker), LOOMKEYS_UNKNOWN_PROVIDER);
  CHECK_EQ(dll.UnregisterUIProvider(e), LOOMKEYS_OK);

  wine_check::Section("unloading drops the providers still registered without calling them");
  FreeLibrary(dll.module);
  CHECK_EQ(providerCalls, 0);

  return wine_check::Finish();
}
