// Exports that register and unregister UI providers.
#include <cstddef>

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

int32_t Register(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle, ProviderPlacement placement) {
  return loomkeys::GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    if (!lpHandle) return kCallFailed;
    // The list writes the handle only where the outcome says so; passing the
    // variable's current value through keeps it as it was otherwise, and an
    // unchanged value is not written back at all.
    auto* const before = reinterpret_cast<RegisteredProvider*>(*lpHandle);
    RegisteredProvider* handle = before;
    const loomkeys::Result result = library.Providers().Register(lpProvider, &handle, placement);
    if (handle != before) *lpHandle = reinterpret_cast<TUIProviderHandle>(handle);
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
