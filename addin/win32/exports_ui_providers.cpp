// Exports that register and unregister UI providers.
#include <cstddef>
#include <string>

#include "customize/provider_list.h"
#include "loomkeys.h"
#include "win32/export_guard.h"

namespace {

using loomkeys::kCallFailed;
using loomkeys::Library;
using loomkeys::ProviderPlacement;
using loomkeys::RegisteredProvider;

// The header's record types must lie exactly at the offsets that the library
// reads, whatever compiler the client uses.
static_assert(offsetof(TUIProviderNative, OnCreateUI) == 4 && offsetof(TUIProviderNative, OnDestroyUI) == 12 &&
              sizeof(TUIProviderNative) == loomkeys::kNativeProviderRecordSize);
static_assert(offsetof(TUIProviderMacro, OnCreateUIMacro) == 8 && offsetof(TUIProviderMacro, OnDestroyUIMacro) == 16 &&
              sizeof(TUIProviderMacro) == loomkeys::kMacroProviderRecordSize);
static_assert(LOOMKEYS_PROVIDER_NATIVE == loomkeys::kNativeProviderVersion &&
              LOOMKEYS_PROVIDER_MACRO == loomkeys::kMacroProviderVersion);

// The client's record copied into the library's memory: its version first,
// then exactly as many bytes as that version's record has, and for version
// 20 the two macro names, at which the copy then points. Registering reads
// nothing of the client's any more.
class RecordCopy {
 public:
  explicit RecordCopy(const TUIProvider* client) {
    const size_t size = loomkeys::ProviderRecordSize(loomkeys::ReadClientValue(&client->Version));
    if (size != 0 && !loomkeys::GuardedCopy(&copy_, client, size)) throw loomkeys::ClientMemoryFault();
    if (copy_.Version != LOOMKEYS_PROVIDER_MACRO) return;
    onCreateUIMacro_ = loomkeys::ClientText(copy_.Macro.OnCreateUIMacro);
    onDestroyUIMacro_ = loomkeys::ClientText(copy_.Macro.OnDestroyUIMacro);
    copy_.Macro.OnCreateUIMacro = onCreateUIMacro_.c_str();
    copy_.Macro.OnDestroyUIMacro = onDestroyUIMacro_.c_str();
  }
  RecordCopy(const RecordCopy&) = delete;
  RecordCopy& operator=(const RecordCopy&) = delete;

  const TUIProvider* Record() const { return &copy_; }

 private:
  TUIProvider copy_ = {};
  std::string onCreateUIMacro_;
  std::string onDestroyUIMacro_;
};

int32_t Register(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle, ProviderPlacement placement) {
  return loomkeys::GuardedExport<int32_t>(kCallFailed, [&](Library& library) -> int32_t {
    if (!lpProvider || !lpHandle) return kCallFailed;
    const RecordCopy record(lpProvider);
    // The list writes the handle only where the outcome says so; passing the
    // variable's current value through keeps it as it was otherwise, and an
    // unchanged value is not written back at all.
    const TUIProviderHandle before = loomkeys::ReadClientValue(lpHandle);
    auto* handle = reinterpret_cast<RegisteredProvider*>(before);
    const loomkeys::Result result = library.Providers().Register(record.Record(), &handle, placement);
    const auto after = reinterpret_cast<TUIProviderHandle>(handle);
    if (after == before) return result;
    try {
      loomkeys::WriteClientValue(lpHandle, after);
    } catch (const loomkeys::ClientMemoryFault&) {
      // A client that answers 6 was not given the handle and could never
      // unregister the provider: it goes again.
      if (result == loomkeys::kOk) library.Customize().UnregisterProvider(handle);
      throw;
    }
    return result;
  });
}

}  // namespace

extern "C" {

int32_t LOOMKEYS_CALL RegisterUIProvider(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle) {
  return Register(lpProvider, lpHandle, ProviderPlacement::kBack);
}

int32_t LOOMKEYS_CALL InitializeKeyloomAddin(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle) {
  return Register(lpProvider, lpHandle, ProviderPlacement::kFront);
}

int32_t LOOMKEYS_CALL UnregisterUIProvider(TUIProviderHandle provider) {
  return loomkeys::GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    return library.Customize().UnregisterProvider(reinterpret_cast<const RegisteredProvider*>(provider));
  });
}

}  // extern "C"
