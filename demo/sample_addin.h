#pragma once
// The sample add-in: what an add-in inside PowerPoint does with
// Loomkeys.dll. It loads the library from its own folder, registers its
// commands' keyboard shortcuts with callbacks, offers its commands to the
// Customize Shortcuts dialog as a version-10 UI provider and applies what the
// user chose there, and keeps its shortcuts between sessions as the
// namespace's blob text in a file. Everything runs on the thread that loaded
// the library, PowerPoint's user-interface thread; the few functions that
// other threads may call say so.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "loomkeys.h"

struct SampleCommand {
  const wchar_t* category;
  const wchar_t* name;
  const wchar_t* description;
  const char* context;  // the shortcut's context: tells the callback which command it is
  uint16_t defaultKey;  // 0: no key until the user assigns one
  uint16_t defaultShiftKeys;
  uint16_t activeMode;  // LOOMKEYS_MODE_SLIDE_DESIGN, LOOMKEYS_MODE_SLIDE_SHOW or both
};

constexpr size_t kSampleCommandCount = 5;
extern const SampleCommand kSampleCommands[kSampleCommandCount];

// The namespace under which the sample registers its shortcuts.
constexpr const char* kSampleNamespace = "LoomkeysDemo";

class SampleAddin {
 public:
  // A command's shortcut as the library holds it.
  struct Assignment {
    bool assigned = false;
    uint16_t virtualKey = 0;
    uint16_t shiftKeys = 0;
    uint16_t activeMode = 0;
    uint32_t shortcutId = 0;
  };

  // Shows a line of what happened: in the stand-in's window and on stdout.
  using Reporter = std::function<void(const std::wstring&)>;

  explicit SampleAddin(Reporter report);
  ~SampleAddin();
  SampleAddin(const SampleAddin&) = delete;
  SampleAddin& operator=(const SampleAddin&) = delete;

  // Loads Loomkeys.dll from `folder`, registers the UI provider and the
  // shortcuts: those saved in `blobFile` by the last session, or the defaults.
  bool Start(const std::wstring& folder, const std::wstring& blobFile);
  // Saves the shortcuts to the blob file, removes them and the provider, and
  // unloads the library.
  void Stop();

  // Writes the namespace's blob text to the blob file.
  bool SaveShortcuts();
  // Removes every shortcut of the namespace and loads the blob file again.
  bool ReloadShortcuts();
  void ShowCustomizeDialog();
  void ShowAboutBox();

  // Any thread may ask these (the library's queries take its lock).
  Assignment AssignmentOf(const SampleCommand& command) const;
  uint32_t ShortcutCount() const;
  // How often each command's callback ran; how often the provider was told
  // the outcome of the dialog, and whether it was cancelled the last time;
  // how many saves and reloads succeeded.
  int FiredCount(size_t command) const { return fired_[command]; }
  int DialogOutcomes() const { return dialogOutcomes_; }
  bool LastDialogCancelled() const { return lastDialogCancelled_; }
  int Saves() const { return saves_; }
  int Reloads() const { return reloads_; }

 private:
  // The library's exports, looked up by name as an add-in does.
#define LOOMKEYS_DEMO_EXPORT(name) decltype(&::name) name = nullptr
  struct Exports {
    LOOMKEYS_DEMO_EXPORT(RegisterShortcut2);
    LOOMKEYS_DEMO_EXPORT(UnregisterShortcut);
    LOOMKEYS_DEMO_EXPORT(GetShortcutInfoByContext);
    LOOMKEYS_DEMO_EXPORT(GetShortcutCount);
    LOOMKEYS_DEMO_EXPORT(GetNamespaceDataSize2);
    LOOMKEYS_DEMO_EXPORT(GetNamespaceData2);
    LOOMKEYS_DEMO_EXPORT(LoadNamespace2);
    LOOMKEYS_DEMO_EXPORT(UnloadNamespace);
    LOOMKEYS_DEMO_EXPORT(CreateUIData);
    LOOMKEYS_DEMO_EXPORT(AddCommand2);
    LOOMKEYS_DEMO_EXPORT(GetCommand2);
    LOOMKEYS_DEMO_EXPORT(DestroyUIData);
    LOOMKEYS_DEMO_EXPORT(RegisterUIProvider);
    LOOMKEYS_DEMO_EXPORT(UnregisterUIProvider);
    LOOMKEYS_DEMO_EXPORT(ShowCustomizeShortcutsUI);
    LOOMKEYS_DEMO_EXPORT(ShowAboutBox);
  };
#undef LOOMKEYS_DEMO_EXPORT

  bool LoadLibraryFrom(const std::wstring& folder);
  void RegisterDefaults();
  // Gives `command` the key the dialog left for it, if that changed.
  void Apply(const SampleCommand& command, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode);

  // The library's callbacks carry no pointer of ours, so they reach the one
  // instance through this.
  static SampleAddin* instance_;
  static void LOOMKEYS_CALL OnShortcut(const wchar_t* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                       const wchar_t* lpContext, uint32_t uShortcutId);
  static void LOOMKEYS_CALL OnCreateUI(TUIDataHandle* lpSlot);
  static void LOOMKEYS_CALL OnDestroyUI(TUIDataHandle uiData, uint16_t uCancelled);

  Reporter report_;
  HMODULE library_ = nullptr;
  Exports dll_;
  TUIProviderHandle provider_ = nullptr;
  std::wstring blobFile_;
  std::atomic<int> fired_[kSampleCommandCount] = {};
  std::atomic<int> dialogOutcomes_{0};
  std::atomic<bool> lastDialogCancelled_{false};
  std::atomic<int> saves_{0};
  std::atomic<int> reloads_{0};
};

// The text of a counted string that a shortcut callback receives: its length
// word, read as a number of bytes like a BSTR's, covers the string once.
std::wstring CallbackText(const wchar_t* text);
