#include "win32/library.h"

#include "win32/module_hold.h"

namespace loomkeys {
namespace {

Library* loadedLibrary = nullptr;

// Above every UI data handle that an earlier load of the library in this
// process handed out: the performance counter only grows, and no load makes
// 16 trees for each of its ticks (100 ns, or less where it runs faster).
UIDataHandle HandlesOfEarlierLoads() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<UIDataHandle>(now.QuadPart) << 4;
}

}  // namespace

Library::Library(HINSTANCE instance) {
  // The mutex only shows, under its name, that the library is loaded somewhere.
  instanceMutex_ = CreateMutexW(nullptr, FALSE, L"Keyloom for PowerPoint");
  window_ = std::make_unique<HotKeyWindow>(instance, *this);
  hotKeys_ = std::make_unique<HotKeyTable>(recordedHotKeySystem_);
  registry_ = std::make_unique<ShortcutRegistry>(*hotKeys_, window_->Handle());
  events_ = std::make_unique<HotKeyEvents>(*registry_, *hotKeys_, window_->Handle(), foreground_, keyInjector_,
                                           keyboardLayouts_, clientCode_, errorBoxes_);
  providers_ = std::make_unique<ProviderList>();
  customize_ = std::make_unique<CustomizeSession>(*providers_, *hotKeys_, window_->Handle(), clientCode_, errorBoxes_);
  customize_->Trees().HandOutAbove(HandlesOfEarlierLoads());
  window_->StartHotKeyTimer();
  BeginModuleHolds(windowThreadId_);
}

Library::~Library() {
  window_->StopHotKeyTimer();
  customize_.reset();
  providers_.reset();
  events_.reset();
  registry_.reset();
  hotKeys_->ClearHotKeys(window_->Handle());
  hotKeys_.reset();
  window_.reset();
  if (instanceMutex_) CloseHandle(instanceMutex_);
}

void Library::Tick() noexcept {
  try {
    events_->Tick();
  } catch (...) {
    // Out of memory in a tick: the next tick tries again.
  }
}

void Library::HandlePress(const HotKeyPress& press) noexcept {
  // One hold for the whole press (module_hold.h): the callbacks and error
  // boxes may unload the library, and the dispatch goes on after them. It
  // does nothing when the entry page holds the press's reference; where there
  // is no page, it takes the reference before the press takes any lock.
  const ModuleHold hold;
  try {
    events_->HandlePress(press);
  } catch (...) {
    // Out of memory while dispatching: the press is dropped.
  }
}

Library* TheLibrary() { return loadedLibrary; }

void InitializeLibrary(HINSTANCE instance) {
  try {
    loadedLibrary = new Library(instance);
  } catch (...) {
    loadedLibrary = nullptr;
  }
}

void FinalizeLibrary(bool processExit) {
  if (loadedLibrary) loadedLibrary->DetachWindow(!processExit);
  if (processExit) {
    // Windows has ended the other threads wherever they were, maybe inside
    // an export, holding a lock of the library or half-way through changing
    // a table; entering such a lock would end the process on the spot. So
    // only the atoms go, read without a lock; the window, its timer, the hot
    // keys and the memory go with the process.
    if (loadedLibrary) loadedLibrary->DeleteAtomsAtProcessExit();
    return;
  }
  EndModuleHolds();
  delete loadedLibrary;
  loadedLibrary = nullptr;
}

}  // namespace loomkeys
