// Exports that register, remove and query shortcuts.
#include <string>

#include "common/active_mode.h"
#include "hotkeys/key_code.h"
#include "loomkeys.h"
#include "win32/export_guard.h"

using namespace loomkeys;

namespace {

constexpr bool SameCode(int exported, Result internal) { return exported == static_cast<int>(internal); }
static_assert(SameCode(LOOMKEYS_DUPLICATE, kDuplicate) && SameCode(LOOMKEYS_KEY_NOT_BOUND, kKeyNotBound) &&
              SameCode(LOOMKEYS_BUFFER_TOO_SMALL, kBufferTooSmall) &&
              SameCode(LOOMKEYS_UNKNOWN_SHORTCUT_ID, kUnknownShortcutId) &&
              SameCode(LOOMKEYS_ERROR_RAISED, kErrorRaised) && SameCode(LOOMKEYS_CALL_FAILED, kCallFailed) &&
              SameCode(LOOMKEYS_UNKNOWN_PROVIDER, kUnknownProvider) &&
              SameCode(LOOMKEYS_COMMAND_EXISTS, kCommandExists) && SameCode(LOOMKEYS_NO_SUCH_COMMAND, kNoSuchCommand) &&
              SameCode(LOOMKEYS_NO_ENTRIES, kNoEntries) && SameCode(LOOMKEYS_INDEX_PAST_ENTRIES, kIndexPastEntries) &&
              SameCode(LOOMKEYS_NO_SUCH_CONTEXT, kNoSuchContext) && SameCode(LOOMKEYS_WRONG_THREAD, kWrongThread));

// Shift keys and modes pass from the exports to the core, and from the core
// to RegisterHotKey, unchanged.
static_assert(LOOMKEYS_MOD_ALT == kModAlt && LOOMKEYS_MOD_CONTROL == kModControl && LOOMKEYS_MOD_SHIFT == kModShift &&
              LOOMKEYS_MOD_WIN == kModWin);
static_assert(MOD_ALT == kModAlt && MOD_CONTROL == kModControl && MOD_SHIFT == kModShift && MOD_WIN == kModWin);
static_assert(LOOMKEYS_MODE_SLIDE_DESIGN == kModeSlideDesign && LOOMKEYS_MODE_SLIDE_SHOW == kModeSlideShow &&
              LOOMKEYS_MODE_ALL == kEveryMode);

// The three values that both info queries write when they find the shortcut.
void WriteKeyInfo(const ShortcutInfo& info, uint16_t* lpVirtualKey, uint16_t* lpShiftKeys, uint16_t* lpActiveMode) {
  WriteClientValue(lpVirtualKey, info.virtualKey);
  WriteClientValue(lpShiftKeys, info.shiftKeys);
  WriteClientValue(lpActiveMode, info.activeMode);
}

}  // namespace

extern "C" {

int32_t LOOMKEYS_CALL RegisterShortcut2(const char* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                        uint16_t uActiveMode, TShortcutCallbackFunc lpCallback, const char* lpContext,
                                        uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) -> int32_t {
    if (!OnLibraryThread(library)) return kWrongThread;
    const std::string nameSpace = ClientText(lpNamespace);
    const std::string context = ClientText(lpContext);
    uint32_t id = 0;
    const Result result = library.Registry().RegisterShortcut2(
        nameSpace, uVirtualKey, uShiftKeys, uActiveMode, reinterpret_cast<ShortcutCallback>(lpCallback), context, &id);
    if (result != kOk) return result;
    try {
      WriteClientValue(lpShortcutId, id);
    } catch (const ClientMemoryFault&) {
      // A client that answers 6 was not given the id and could never remove
      // the shortcut: it goes again, and its key with it if it was the first.
      library.Registry().UnregisterShortcut(id);
      throw;
    }
    return kOk;
  });
}

int32_t LOOMKEYS_CALL RegisterShortcut(const char* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                       TShortcutCallbackFunc lpCallback, const char* lpContext,
                                       uint32_t* lpShortcutId) {
  return RegisterShortcut2(lpNamespace, uVirtualKey, uShiftKeys, kEveryMode, lpCallback, lpContext, lpShortcutId);
}

int32_t LOOMKEYS_CALL UnregisterShortcut(uint32_t uShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) -> int32_t {
    if (!OnLibraryThread(library)) return kWrongThread;
    return library.Registry().UnregisterShortcut(uShortcutId);
  });
}

int32_t LOOMKEYS_CALL GetShortcutInfoByShortcutId(uint32_t uShortcutId, uint16_t* lpVirtualKey, uint16_t* lpShiftKeys,
                                                  uint16_t* lpActiveMode) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    ShortcutInfo info;
    const Result result = library.Registry().GetShortcutInfoByShortcutId(uShortcutId, &info);
    if (result == kOk) WriteKeyInfo(info, lpVirtualKey, lpShiftKeys, lpActiveMode);
    return result;
  });
}

int32_t LOOMKEYS_CALL GetShortcutInfoByContext(const char* lpNamespace, const char* lpContext, uint16_t* lpVirtualKey,
                                               uint16_t* lpShiftKeys, uint16_t* lpActiveMode, uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    ShortcutInfo info;
    const Result result =
        library.Registry().GetShortcutInfoByContext(ClientText(lpNamespace), ClientText(lpContext), &info);
    if (result == kOk) {
      WriteKeyInfo(info, lpVirtualKey, lpShiftKeys, lpActiveMode);
      WriteClientValue(lpShortcutId, info.shortcutId);
    }
    return result;
  });
}

uint32_t LOOMKEYS_CALL GetShortcutCount(const char* lpNamespace) {
  return GuardedExport<uint32_t>(
      0, [&](Library& library) { return library.Registry().GetShortcutCount(ClientText(lpNamespace)); });
}

int32_t LOOMKEYS_CALL GetShortcutDataSize(const char* lpNamespace, uint32_t uIndex, uint32_t* lpSize) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    uint32_t size = 0;
    const Result result = library.Registry().GetShortcutDataSize(ClientText(lpNamespace), uIndex, &size);
    if (result == kOk) WriteClientValue(lpSize, size);
    return result;
  });
}

int32_t LOOMKEYS_CALL GetShortcutData(const char* lpNamespace, uint32_t uIndex, void* lpBuffer, uint32_t* lpSize,
                                      uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    const std::string nameSpace = ClientText(lpNamespace);
    uint32_t size = lpSize ? ReadClientValue(lpSize) : 0;
    uint32_t id = 0;
    // The registry copies into the buffer itself, under its own guard.
    const Result result =
        library.Registry().GetShortcutData(nameSpace, uIndex, lpBuffer, lpSize ? &size : nullptr, &id);
    if (result == kNoEntries || result == kIndexPastEntries) return result;  // nothing found, nothing written
    WriteClientValue(lpShortcutId, id);
    WriteClientValue(lpSize, size);
    return result;
  });
}

}  // extern "C"
