#pragma once
// Everything the library builds when it is loaded into the host process and
// tears down when it is unloaded, in that order and in reverse.
#include <windows.h>

#include <memory>

#include "customize/customize_session.h"
#include "customize/provider_list.h"
#include "events/hotkey_events.h"
#include "hotkeys/atom_recording_hotkey_system.h"
#include "hotkeys/hotkey_table.h"
#include "registry/shortcut_registry.h"
#include "win32/hotkey_window.h"
#include "win32/win32_client_code.h"
#include "win32/win32_foreground_window.h"
#include "win32/win32_hotkey_system.h"
#include "win32/win32_key_injector.h"
#include "win32/win32_keyboard_layouts.h"

namespace loomkeys {

class Library final : public HotKeyWindowEvents {
 public:
  // Start-up: the instance mutex "Keyloom for PowerPoint", the hidden window
  // with its stopped timer, the hot-key table, the shortcut registry, the
  // empty UI provider list; then the timer starts.
  explicit Library(HINSTANCE instance);
  // Shut-down, after DetachWindow: the timer stops; the provider list goes
  // without calling any provider; the registry is cleared (unbinding its
  // keys) before the table goes, and the window goes after both.
  ~Library();

  // The first step of the shut-down: no message enters the library's code
  // from here on (HotKeyWindow::DetachProcedure).
  void DetachWindow(bool waitForRunningMessage) { window_->DetachProcedure(waitForRunningMessage); }
  // All that the end of the process leaves to the library: the keys' global
  // atoms, which would outlive it. Takes no lock and allocates nothing.
  void DeleteAtomsAtProcessExit() noexcept { recordedHotKeySystem_.DeleteRecordedAtoms(); }

  HWND HotKeyWindowHandle() const { return window_->Handle(); }
  HotKeyTable& HotKeys() { return *hotKeys_; }
  ShortcutRegistry& Registry() { return *registry_; }
  ProviderList& Providers() { return *providers_; }
  CustomizeSession& Customize() { return *customize_; }
  // The thread that loaded the library and owns the hidden window: the only
  // one on which Windows lets the library bind and unbind its hot keys.
  DWORD WindowThreadId() const { return windowThreadId_; }

  void Tick() noexcept override;
  void HandlePress(const HotKeyPress& press) noexcept override;

 private:
  HANDLE instanceMutex_ = nullptr;
  Win32HotKeySystem hotKeySystem_;
  AtomRecordingHotKeySystem recordedHotKeySystem_{hotKeySystem_};
  Win32ForegroundWindowReader foreground_;
  Win32KeyInjector keyInjector_;
  Win32KeyboardLayouts keyboardLayouts_;
  SehClientCodeGuard clientCode_;
  MessageBoxErrorBoxes errorBoxes_;
  std::unique_ptr<HotKeyWindow> window_;
  std::unique_ptr<HotKeyTable> hotKeys_;
  std::unique_ptr<ShortcutRegistry> registry_;
  std::unique_ptr<ProviderList> providers_;
  std::unique_ptr<CustomizeSession> customize_;
  DWORD windowThreadId_ = GetCurrentThreadId();
  std::unique_ptr<HotKeyEvents> events_;
};

// The loaded library; null before DLL_PROCESS_ATTACH and after detach.
Library* TheLibrary();
void InitializeLibrary(HINSTANCE instance);
// processExit: the process is ending, and its other threads are gone.
void FinalizeLibrary(bool processExit);

}  // namespace loomkeys
