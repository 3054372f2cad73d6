// Exports that build, read and free the UI data trees of the Customize dialog.
#include <optional>
#include <string>

#include "customize/ui_data_api.h"
#include "loomkeys.h"
#include "win32/export_guard.h"
#include "win32/procedure_exit_release.h"

namespace {

using loomkeys::ClientText;
using loomkeys::GuardedExport;
using loomkeys::kCallFailed;
using loomkeys::Library;
using loomkeys::WriteClientValue;

// The exported handle type is a pointer only for the C compilers' type
// checks: it carries the tree's number, never an address.
loomkeys::UIDataHandle Tree(TUIDataHandle handle) { return reinterpret_cast<loomkeys::UIDataHandle>(handle); }

// What GetCommand(2) found, written to the client's variables once it has.
struct CommandKey {
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = 0;

  void WriteTo(uint16_t* lpVirtualKey, uint16_t* lpShiftKeys, uint16_t* lpActiveMode) const {
    WriteClientValue(lpVirtualKey, virtualKey);
    WriteClientValue(lpShiftKeys, shiftKeys);
    WriteClientValue(lpActiveMode, activeMode);
  }
};

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
    const std::u16string category = ClientText(lpCategory), name = ClientText(lpName);
    const std::u16string description = ClientText(lpDescription);
    return loomkeys::AddCommand2(library.Customize().Trees(), Tree(uiData), category.c_str(), name.c_str(),
                                 description.c_str(), uVirtualKey, uShiftKeys, uActiveMode);
  });
}

int32_t LOOMKEYS_CALL AddCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                 const char* lpDescription, uint16_t uVirtualKey, uint16_t uShiftKeys) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    const std::string category = ClientText(lpCategory), name = ClientText(lpName);
    const std::string description = ClientText(lpDescription);
    return loomkeys::AddCommand(library.Customize().Trees(), Tree(uiData), category.c_str(), name.c_str(),
                                description.c_str(), uVirtualKey, uShiftKeys);
  });
}

int32_t LOOMKEYS_CALL GetCommand2(TUIDataHandle uiData, const wchar_t* lpCategory, const wchar_t* lpName,
                                  uint16_t* lpVirtualKey, uint16_t* lpShiftKeys, uint16_t* lpActiveMode) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    const std::u16string category = ClientText(lpCategory), name = ClientText(lpName);
    CommandKey key;
    const loomkeys::Result result =
        loomkeys::GetCommand2(library.Customize().Trees(), Tree(uiData), category.c_str(), name.c_str(),
                              &key.virtualKey, &key.shiftKeys, &key.activeMode);
    if (result == loomkeys::kOk) key.WriteTo(lpVirtualKey, lpShiftKeys, lpActiveMode);
    return result;
  });
}

int32_t LOOMKEYS_CALL GetCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                 uint16_t* lpVirtualKey, uint16_t* lpShiftKeys) {
  return GuardedExport<int32_t>(kCallFailed, [&](Library& library) {
    const std::string category = ClientText(lpCategory), name = ClientText(lpName);
    CommandKey key;
    const loomkeys::Result result = loomkeys::GetCommand(library.Customize().Trees(), Tree(uiData), category.c_str(),
                                                         name.c_str(), &key.virtualKey, &key.shiftKeys);
    if (result == loomkeys::kOk) key.WriteTo(lpVirtualKey, lpShiftKeys, nullptr);
    return result;
  });
}

void LOOMKEYS_CALL LoomkeysDestroyUIData(TUIDataHandle uiData) {
  // A handle that is no live tree is shown in an "Exception" box and frees
  // nothing. No provider keeps a freed tree.
  GuardedExport<int>(0, [uiData](Library& library) {
    library.Customize().DestroyTree(Tree(uiData));
    return 0;
  });
}

}  // extern "C"

// The hold of its "Exception" box may hold the library's last reference when
// the box closes.
LOOMKEYS_RELEASING_ENTRY(DestroyUIData, LoomkeysDestroyUIData);
