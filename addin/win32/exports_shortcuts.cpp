// Exports that register, remove and query shortcuts.
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

template <typename T>
void WriteIfGiven(T* target, T value) {
  if (target) *target = value;
}

}  // namespace

extern "C" {

int32_t LOOMKEYS_CALL RegisterShortcut2(const char* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                        uint16_t uActiveMode, TShortcutCallbackFunc lpCallback, const char* lpContext,
                                        uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) -> int32_t {
    if (!OnLibraryThread(library)) return kWrongThread;
    return library.Registry().RegisterShortcut2(AnsiArgument(lpNamespace), uVirtualKey, uShiftKeys, uActiveMode,
                                                reinterpret_cast<ShortcutCallback>(lpCallback), AnsiArgument(lpContext),
                                                lpShortcutId);
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
    if (result == kOk) {
      WriteIfGiven(lpVirtualKey, info.virtualKey);
      WriteIfGiven(lpShiftKeys, info.shiftKeys);
      WriteIfGiven(lpActiveMode, info.activeMode);
    }
    return result;
  });
}

int32_t LOOMKEYS_CALL GetShortcutInfoByContext(const char* lpNamespace, const char* lpContext, uint16_t* lpVirtualKey,
                                               uint16_t* lpShiftKeys, uint16_t* lpActiveMode, uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    ShortcutInfo info;
    const Result result =
        library.Registry().GetShortcutInfoByContext(AnsiArgument(lpNamespace), AnsiArgument(lpContext), &info);
    if (result == kOk) {
      WriteIfGiven(lpVirtualKey, info.virtualKey);
      WriteIfGiven(lpShiftKeys, info.shiftKeys);
      WriteIfGiven(lpActiveMode, info.activeMode);
      WriteIfGiven(lpShortcutId, info.shortcutId);
    }
    return result;
  });
}

uint32_t LOOMKEYS_CALL GetShortcutCount(const char* lpNamespace) {
  return GuardedExport<uint32_t>(
      0, [&](Library& library) { return library.Registry().GetShortcutCount(AnsiArgument(lpNamespace)); });
}

int32_t LOOMKEYS_CALL GetShortcutDataSize(const char* lpNamespace, uint32_t uIndex, uint32_t* lpSize) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    return library.Registry().GetShortcutDataSize(AnsiArgument(lpNamespace), uIndex, lpSize);
  });
}

int32_t LOOMKEYS_CALL GetShortcutData(const char* lpNamespace, uint32_t uIndex, void* lpBuffer, uint32_t* lpSize,
                                      uint32_t* lpShortcutId) {
  return GuardedExport<int32_t>(kErrorRaised, [&](Library& library) {
    return library.Registry().GetShortcutData(AnsiArgument(lpNamespace), uIndex, lpBuffer, lpSize, lpShortcutId);
  });
}

}  // extern "C"
