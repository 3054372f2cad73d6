#include "sample_addin.h"

#include <oleauto.h>

#include <type_traits>
#include <utility>

#include "file_bytes.h"
#include "key_names.h"

namespace {

constexpr uint16_t kCtrlShift = LOOMKEYS_MOD_CONTROL | LOOMKEYS_MOD_SHIFT;
constexpr uint16_t kBothModes = LOOMKEYS_MODE_SLIDE_DESIGN | LOOMKEYS_MODE_SLIDE_SHOW;

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring Number(long long value) { return std::to_wstring(value); }

}  // namespace

const SampleCommand kSampleCommands[kSampleCommandCount] = {
    {L"Demo Editing", L"Insert Sticky Note", L"Puts a yellow note on the current slide.", "sticky-note", 'J',
     kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN},
    {L"Demo Editing", L"Insert Date", L"Types today's date where the cursor is. It has no key until you give it one.",
     "insert-date", 0, 0, LOOMKEYS_MODE_SLIDE_DESIGN},
    {L"Demo Editing", L"Show Timer", L"Shows how long the presentation has been open, while editing and in the show.",
     "show-timer", 'T', kCtrlShift, kBothModes},
    {L"Demo Slide Show", L"Laser Pointer", L"Turns the pointer into a laser dot during the slide show.",
     "laser-pointer", 'L', kCtrlShift, LOOMKEYS_MODE_SLIDE_SHOW},
    {L"Demo Slide Show", L"Black Screen", L"Blanks the screen during the slide show.", "black-screen", 'K', kCtrlShift,
     LOOMKEYS_MODE_SLIDE_SHOW},
};

SampleAddin* SampleAddin::instance_ = nullptr;

std::wstring CallbackText(const wchar_t* text) {
  if (!text) return L"";
  const uint32_t lengthWord = reinterpret_cast<const uint32_t*>(text)[-1];
  return std::wstring(text, lengthWord / sizeof(wchar_t));
}

SampleAddin::SampleAddin(Reporter report) : report_(std::move(report)) { instance_ = this; }

SampleAddin::~SampleAddin() {
  Stop();
  instance_ = nullptr;
}

bool SampleAddin::LoadLibraryFrom(const std::wstring& folder) {
  const std::wstring path = folder + L"\\Loomkeys.dll";
  library_ = LoadLibraryW(path.c_str());
  if (!library_) {
    report_(L"Cannot load " + path + L" (error " + Number(GetLastError()) + L")");
    return false;
  }
  bool complete = true;
  auto find = [&](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
        reinterpret_cast<void*>(GetProcAddress(library_, name)));
    if (!function) {
      report_(L"Loomkeys.dll does not export " + Widen(name));
      complete = false;
    }
  };
#define LOOMKEYS_DEMO_FIND(name) find(dll_.name, #name)
  LOOMKEYS_DEMO_FIND(RegisterShortcut2);
  LOOMKEYS_DEMO_FIND(UnregisterShortcut);
  LOOMKEYS_DEMO_FIND(GetShortcutInfoByContext);
  LOOMKEYS_DEMO_FIND(GetShortcutCount);
  LOOMKEYS_DEMO_FIND(GetNamespaceDataSize2);
  LOOMKEYS_DEMO_FIND(GetNamespaceData2);
  LOOMKEYS_DEMO_FIND(LoadNamespace2);
  LOOMKEYS_DEMO_FIND(UnloadNamespace);
  LOOMKEYS_DEMO_FIND(CreateUIData);
  LOOMKEYS_DEMO_FIND(AddCommand2);
  LOOMKEYS_DEMO_FIND(GetCommand2);
  LOOMKEYS_DEMO_FIND(DestroyUIData);
  LOOMKEYS_DEMO_FIND(RegisterUIProvider);
  LOOMKEYS_DEMO_FIND(UnregisterUIProvider);
  LOOMKEYS_DEMO_FIND(ShowCustomizeShortcutsUI);
  LOOMKEYS_DEMO_FIND(ShowAboutBox);
#undef LOOMKEYS_DEMO_FIND
  if (!complete) {
    FreeLibrary(library_);
    library_ = nullptr;
  }
  return complete;
}

bool SampleAddin::Start(const std::wstring& folder, const std::wstring& blobFile) {
  if (!LoadLibraryFrom(folder)) return false;
  blobFile_ = blobFile;
  report_(L"Loaded Loomkeys.dll from " + folder);

  TUIProvider provider = {};
  provider.Native.Version = LOOMKEYS_PROVIDER_NATIVE;
  provider.Native.OnCreateUI = OnCreateUI;
  provider.Native.OnDestroyUI = OnDestroyUI;
  const int32_t registered = dll_.RegisterUIProvider(&provider, &provider_);
  report_(L"RegisterUIProvider (version 10) = " + Number(registered));

  const std::string blob = ReadFileBytes(blobFile_);
  if (blob.empty()) {
    report_(L"No saved shortcuts in " + blobFile_ + L": registering the defaults");
    RegisterDefaults();
  } else {
    const int32_t loaded =
        dll_.LoadNamespace2(kSampleNamespace, OnShortcut, blob.c_str(), static_cast<uint32_t>(blob.size()));
    report_(L"LoadNamespace2 from " + blobFile_ + L" = " + Number(loaded) + L": " + Number(ShortcutCount()) +
            L" shortcuts restored");
    if (loaded != LOOMKEYS_OK) RegisterDefaults();
  }
  return registered == LOOMKEYS_OK;
}

void SampleAddin::RegisterDefaults() {
  for (const SampleCommand& command : kSampleCommands) {
    if (command.defaultKey == 0) continue;
    uint32_t id = 0;
    const int32_t result = dll_.RegisterShortcut2(kSampleNamespace, command.defaultKey, command.defaultShiftKeys,
                                                  command.activeMode, OnShortcut, command.context, &id);
    report_(L"RegisterShortcut2 " + KeyName(command.defaultKey, command.defaultShiftKeys) + L" for " + command.name +
            L" (" + ModeName(command.activeMode) + L") = " + Number(result) +
            (result == LOOMKEYS_OK ? L", shortcut id " + Number(id) : L""));
  }
}

void SampleAddin::Stop() {
  if (!library_) return;
  SaveShortcuts();
  dll_.UnloadNamespace(kSampleNamespace);
  if (provider_) dll_.UnregisterUIProvider(provider_);
  provider_ = nullptr;
  FreeLibrary(library_);
  library_ = nullptr;
  report_(L"Unloaded Loomkeys.dll");
}

bool SampleAddin::SaveShortcuts() {
  // Size first, data second; the namespace may grow in between, in which
  // case the library answers "too small" with the new size.
  std::string blob(dll_.GetNamespaceDataSize2(kSampleNamespace), '\0');
  uint32_t size = static_cast<uint32_t>(blob.size());
  int32_t result = dll_.GetNamespaceData2(kSampleNamespace, blob.data(), &size);
  if (result == LOOMKEYS_BUFFER_TOO_SMALL) {
    blob.resize(size);
    result = dll_.GetNamespaceData2(kSampleNamespace, blob.data(), &size);
  }
  if (result == LOOMKEYS_NO_ENTRIES) size = 0;  // nothing to keep: an empty file
  else if (result != LOOMKEYS_OK) {
    report_(L"GetNamespaceData2 = " + Number(result) + L": shortcuts not saved");
    return false;
  }
  blob.resize(size);
  if (!WriteFileBytes(blobFile_, blob)) {
    report_(L"Cannot write " + blobFile_);
    return false;
  }
  report_(L"Saved " + Number(ShortcutCount()) + L" shortcuts to " + blobFile_ + L" (" + Number(size) +
          L" characters of blob text)");
  ++saves_;
  return true;
}

bool SampleAddin::ReloadShortcuts() {
  const std::string blob = ReadFileBytes(blobFile_);
  dll_.UnloadNamespace(kSampleNamespace);
  report_(L"UnloadNamespace: " + Number(ShortcutCount()) + L" shortcuts left");
  const int32_t loaded =
      dll_.LoadNamespace2(kSampleNamespace, OnShortcut, blob.c_str(), static_cast<uint32_t>(blob.size()));
  report_(L"LoadNamespace2 from " + blobFile_ + L" = " + Number(loaded) + L": " + Number(ShortcutCount()) +
          L" shortcuts restored");
  if (loaded != LOOMKEYS_OK) return false;
  ++reloads_;
  return true;
}

void SampleAddin::ShowCustomizeDialog() {
  // The stand-in has no Automation Application object: only providers of
  // version 20 would need one, and the sample is a version-10 provider.
  VARIANT application;
  VariantInit(&application);
  dll_.ShowCustomizeShortcutsUI(&application);
}

void SampleAddin::ShowAboutBox() { dll_.ShowAboutBox(); }

SampleAddin::Assignment SampleAddin::AssignmentOf(const SampleCommand& command) const {
  Assignment assignment;
  assignment.assigned =
      library_ &&
      dll_.GetShortcutInfoByContext(kSampleNamespace, command.context, &assignment.virtualKey, &assignment.shiftKeys,
                                    &assignment.activeMode, &assignment.shortcutId) == LOOMKEYS_OK;
  if (!assignment.assigned) assignment = Assignment{false, 0, 0, command.activeMode, 0};
  return assignment;
}

uint32_t SampleAddin::ShortcutCount() const { return library_ ? dll_.GetShortcutCount(kSampleNamespace) : 0; }

void SampleAddin::Apply(const SampleCommand& command, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode) {
  const Assignment now = AssignmentOf(command);
  if (now.virtualKey == virtualKey && now.shiftKeys == shiftKeys && (virtualKey == 0 || now.activeMode == activeMode))
    return;
  if (now.assigned) dll_.UnregisterShortcut(now.shortcutId);
  std::wstring line = std::wstring(command.name) + L": " + KeyName(now.virtualKey, now.shiftKeys) + L" -> " +
                      KeyName(virtualKey, shiftKeys);
  if (virtualKey != 0) {
    uint32_t id = 0;
    const int32_t result =
        dll_.RegisterShortcut2(kSampleNamespace, virtualKey, shiftKeys, activeMode, OnShortcut, command.context, &id);
    line += L" (" + ModeName(activeMode) + L"), RegisterShortcut2 = " + Number(result);
    if (result == LOOMKEYS_OK) line += L", shortcut id " + Number(id);
    if (result == LOOMKEYS_KEY_NOT_BOUND) line += L": another program holds that key";
  }
  report_(line);
}

void LOOMKEYS_CALL SampleAddin::OnShortcut(const wchar_t* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                           const wchar_t* lpContext, uint32_t uShortcutId) {
  SampleAddin& self = *instance_;
  const std::wstring context = CallbackText(lpContext);
  for (size_t i = 0; i < kSampleCommandCount; ++i) {
    const SampleCommand& command = kSampleCommands[i];
    if (context != Widen(command.context)) continue;
    ++self.fired_[i];
    self.report_(L"Fired: " + std::wstring(command.name) + L" (" + command.category + L") by " +
                 KeyName(uVirtualKey, uShiftKeys) + L", shortcut id " + Number(uShortcutId) + L", namespace \"" +
                 CallbackText(lpNamespace) + L"\", context \"" + context + L"\"");
    return;
  }
  self.report_(L"Fired: unknown context \"" + context + L"\"");
}

void LOOMKEYS_CALL SampleAddin::OnCreateUI(TUIDataHandle* lpSlot) {
  SampleAddin& self = *instance_;
  TUIDataHandle tree = self.dll_.CreateUIData();
  for (const SampleCommand& command : kSampleCommands) {
    const Assignment now = self.AssignmentOf(command);
    self.dll_.AddCommand2(tree, command.category, command.name, command.description, now.virtualKey, now.shiftKeys,
                          now.activeMode);
  }
  *lpSlot = tree;
  self.report_(L"OnCreateUI: " + Number(kSampleCommandCount) + L" commands in 2 categories offered to the dialog");
}

void LOOMKEYS_CALL SampleAddin::OnDestroyUI(TUIDataHandle uiData, uint16_t uCancelled) {
  SampleAddin& self = *instance_;
  const bool cancelled = uCancelled != 0;
  self.report_(cancelled ? L"OnDestroyUI: the dialog was cancelled, the shortcuts stay as they were"
                         : L"OnDestroyUI: reading the commands back");
  if (uiData && !cancelled) {
    for (const SampleCommand& command : kSampleCommands) {
      uint16_t virtualKey = 0, shiftKeys = 0, activeMode = 0;
      if (self.dll_.GetCommand2(uiData, command.category, command.name, &virtualKey, &shiftKeys, &activeMode) ==
          LOOMKEYS_OK)
        self.Apply(command, virtualKey, shiftKeys, activeMode);
    }
  }
  // A version-10 provider owns its tree and frees it itself.
  if (uiData) self.dll_.DestroyUIData(uiData);
  self.lastDialogCancelled_ = cancelled;
  ++self.dialogOutcomes_;
}
