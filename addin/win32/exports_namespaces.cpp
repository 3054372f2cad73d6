// Exports that save a namespace's shortcuts as blob text, load such text
// back, remove a whole namespace and rename one.
#include "loomkeys.h"
#include "win32/export_guard.h"

using namespace loomkeys;

namespace {

constexpr BlobLayout kFirst = BlobLayout::kWithoutActiveMode;
constexpr BlobLayout kSecond = BlobLayout::kWithActiveMode;

uint32_t DataSize(const char* lpNamespace, BlobLayout layout) {
  return GuardedExport<uint32_t>(
      0, [&](Library& library) { return library.Registry().GetNamespaceDataSize(AnsiArgument(lpNamespace), layout); });
}

int32_t Data(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize, BlobLayout layout) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    return library.Registry().GetNamespaceData(AnsiArgument(lpNamespace), layout, lpBuffer, lpSize);
  });
}

// The text is read up to its NUL; the size that the client passes along is
// not trusted and not used.
int32_t Load(const char* lpNamespace, TShortcutCallbackFunc lpCallback, const char* lpData, BlobLayout layout) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) -> int32_t {
    if (!OnLibraryThread(library)) return kWrongThread;
    return library.Registry().LoadNamespace(AnsiArgument(lpNamespace), layout,
                                            reinterpret_cast<ShortcutCallback>(lpCallback), AnsiArgument(lpData));
  });
}

}  // namespace

extern "C" {

uint32_t LOOMKEYS_CALL GetNamespaceDataSize(const char* lpNamespace) { return DataSize(lpNamespace, kFirst); }

uint32_t LOOMKEYS_CALL GetNamespaceDataSize2(const char* lpNamespace) { return DataSize(lpNamespace, kSecond); }

int32_t LOOMKEYS_CALL GetNamespaceData(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize) {
  return Data(lpNamespace, lpBuffer, lpSize, kFirst);
}

int32_t LOOMKEYS_CALL GetNamespaceData2(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize) {
  return Data(lpNamespace, lpBuffer, lpSize, kSecond);
}

int32_t LOOMKEYS_CALL LoadNamespace(const char* lpNamespace, TShortcutCallbackFunc lpCallback, const char* lpData,
                                    uint32_t /*uDataSize*/) {
  return Load(lpNamespace, lpCallback, lpData, kFirst);
}

int32_t LOOMKEYS_CALL LoadNamespace2(const char* lpNamespace, TShortcutCallbackFunc lpCallback, const char* lpData,
                                     uint32_t /*uDataSize*/) {
  return Load(lpNamespace, lpCallback, lpData, kSecond);
}

void LOOMKEYS_CALL UnloadNamespace(const char* lpNamespace) {
  GuardedExport<bool>(false, [&](Library& library) {
    if (!OnLibraryThread(library)) return false;  // documented: nothing is done
    library.Registry().UnloadNamespace(AnsiArgument(lpNamespace));
    return true;
  });
}

void LOOMKEYS_CALL NamespaceRename(const char* lpNamespace, const char* lpNewNamespace) {
  GuardedExport<bool>(false, [&](Library& library) {
    library.Registry().NamespaceRename(AnsiArgument(lpNamespace), AnsiArgument(lpNewNamespace));
    return true;
  });
}

}  // extern "C"
