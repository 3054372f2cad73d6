// Exports that build, read and free the UI data trees of the Customize dialog.
#include <optional>
#include <string>

#include "customize/ui_data_api.h"
#include "loomkeys.h"
#include "win32/export_guard.h"

namespace {

using loomkeys::GuardedExport;
using loomkeys::kCallFailed;
using loomkeys::Library;

loomkeys::UIData* Tree(TUIDataHandle handle) { return reinterpret_cast<loomkeys::UIData*>(handle); }

// wchar_t is UTF-16 on Windows; the portable core spells it char16_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
const char16_t* Utf16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

}  // namespace

extern "C" {

TUIDataHandle LOOMKEYS_CALL CreateUIData(void) {
  return GuardedExport<TUIDataHandle>(
      nullptr, [](Library& library) { return reinterpret_cast<TUIDataHandle>(library.Customize().Trees().Create()); });
}

int32_t LOOMKEYS_CALL AddCommand2(TUIDataHandle uiData, const wchar_t* lpCategory, const wchar_t* lpName,
                                  const wchar_t* lpDescription, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                  uint16_t uActiveMode) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    return loomkeys::AddCommand2(library.Customize().Trees(), Tree(uiData), Utf16(lpCategory), Utf16(lpName),
                                 Utf16(lpDescription), uVirtualKey, uShiftKeys, uActiveMode);
  });
}

int32_t LOOMKEYS_CALL AddCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                 const char* lpDescription, uint16_t uVirtualKey, uint16_t uShiftKeys) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    return loomkeys::AddCommand(library.Customize().Trees(), Tree(uiData), lpCategory, lpName, lpDescription,
                                uVirtualKey, uShiftKeys);
  });
}

int32_t LOOMKEYS_CALL GetCommand2(TUIDataHandle uiData, const wchar_t* lpCategory, const wchar_t* lpName,
                                  uint16_t* lpVirtualKey, uint16_t* lpShiftKeys, uint16_t* lpActiveMode) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    return loomkeys::GetCommand2(library.Customize().Trees(), Tree(uiData), Utf16(lpCategory), Utf16(lpName),
                                 lpVirtualKey, lpShiftKeys, lpActiveMode);
  });
}

int32_t LOOMKEYS_CALL GetCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                 uint16_t* lpVirtualKey, uint16_t* lpShiftKeys) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    return loomkeys::GetCommand(library.Customize().Trees(), Tree(uiData), lpCategory, lpName, lpVirtualKey,
                                lpShiftKeys);
  });
}

void LOOMKEYS_CALL DestroyUIData(TUIDataHandle uiData) {
  // A handle that is no live tree is shown in an "Exception" box and frees
  // nothing. No provider keeps the handle of a freed tree.
  GuardedExport<int>(0, [uiData](Library& library) {
    library.Customize().DestroyTree(Tree(uiData));
    return 0;
  });
}

}  // extern "C"
