// Exports that save a namespace's shortcuts as blob text, load such text
// back, remove a whole namespace and rename one.
#include <string>

#include "loomkeys.h"
#include "win32/export_guard.h"

using namespace loomkeys;

namespace {

constexpr BlobLayout kFirst = BlobLayout::kWithoutActiveMode;
constexpr BlobLayout kSecond = BlobLayout::kWithActiveMode;

uint32_t DataSize(const char* lpNamespace, BlobLayout layout) {
  return GuardedExport<uint32_t>(
      0, [&](Library& library) { return library.Registry().GetNamespaceDataSize(ClientText(lpNamespace), layout); });
}

int32_t Data(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize, BlobLayout layout) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    const std::string nameSpace = ClientText(lpNamespace);
    uint32_t size = lpSize ? ReadClientValue(lpSize) : 0;
    // The registry copies into the buffer itself, under its own guard. It
    // reports the size with every result but one, a text too long to have a
    // 32-bit size, where the size stays as it was.
    const Result result = library.Registry().GetNamespaceData(nameSpace, layout, lpBuffer, lpSize ? &size : nullptr);
    WriteClientValue(lpSize, size);
    return result;
  });
}

// The text is read up to its NUL; the size that the client passes along is
// not trusted and not used.
int32_t Load(const char* lpNamespace, TShortcutCallbackFunc lpCallback, const char* lpData, BlobLayout layout) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) -> int32_t {
    if (!OnLibraryThread(library)) return kWrongThread;
    const std::string nameSpace = ClientText(lpNamespace);
    const std::string text = ClientText(lpData);
    return library.Registry().LoadNamespace(nameSpace, layout, reinterpret_cast<ShortcutCallback>(lpCallback), text);
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
    library.Registry().UnloadNamespace(ClientText(lpNamespace));
    return true;
  });
}

void LOOMKEYS_CALL NamespaceRename(const char* lpNamespace, const char* lpNewNamespace) {
  GuardedExport<bool>(false, [&](Library& library) {
    const std::string nameSpace = ClientText(lpNamespace);
    const std::string newNameSpace = ClientText(lpNewNamespace);
    library.Registry().NamespaceRename(nameSpace, newNameSpace);
    return true;
  });
}

}  // extern "C"
