#include "customize/customize_entry.h"

#include <algorithm>
#include <exception>
#include <set>
#include <string>

#include "customize/provider_record.h"
#include "customize/ui_data_api.h"
#include "platform/ansi_text.h"

namespace loomkeys {
namespace {

constexpr uint16_t kCancelledFlag = 0xFFFF;

// The text of the exception being handled, for an error box.
std::u16string CurrentErrorText() {
  try {
    throw;
  } catch (const std::exception& exception) {
    return AnsiToUtf16(exception.what());
  } catch (...) {
    return u"Unknown exception";
  }
}

}  // namespace

CustomizeEntry::CustomizeEntry(ProviderList& providers, HotKeyTable& hotKeys, WindowHandle window,
                               ClientCodeGuard& guard, ErrorBoxes& boxes)
    : providers_(providers), hotKeys_(hotKeys), window_(window), guard_(guard), boxes_(boxes) {}

CustomizeEntry::~CustomizeEntry() {
  // At unload the providers are dropped without a call, but the trees that
  // the library made for version-20 providers are the library's to free.
  for (size_t i = 0; i < providers_.Count(); ++i) {
    TUIProviderEntry* entry = providers_.At(i);
    if (entry->Version != kNativeProviderVersion && entry->UIData) DestroyTree(entry->UIData);
  }
  FreeSetAsideTrees();
}

template <typename Visit>
void CustomizeEntry::ForEachProviderOnce(Visit visit) {
  // Events may register providers (at the back or the front) and unregister
  // any of them, so the walk looks for the first entry in list order that it
  // has not visited yet, every time: nobody is called twice, nobody freed is
  // touched, and a provider added during the pass is still visited.
  std::set<uint64_t> visited;
  for (;;) {
    TUIProviderEntry* next = nullptr;
    for (size_t i = 0; i < providers_.Count() && !next; ++i) {
      if (!visited.count(providers_.At(i)->Serial)) next = providers_.At(i);
    }
    if (!next) return;
    visited.insert(next->Serial);
    visit(next->Serial);
  }
}

void CustomizeEntry::RunCreatePass(MacroRunner& macros) {
  ForEachProviderOnce([&](uint64_t serial) {
    TUIProviderEntry* entry = providers_.FindBySerial(serial);
    std::optional<std::u16string> error;
    if (entry->Version == kNativeProviderVersion) {
      if (!entry->OnCreateUI) return;
      const OnCreateUIFunc onCreateUI = entry->OnCreateUI;
      TUIData** slot = &entry->UIData;
      error = guard_.Run([onCreateUI, slot] { onCreateUI(slot); });
    } else {
      // A tree left behind by a failed OnDestroyUI macro goes first.
      if (entry->UIData) DestroyTree(entry->UIData);
      TUIData* tree = CreateUIData();
      entry->UIData = tree;
      const std::string macro = entry->OnCreateUIMacro;  // the macro may unregister its provider
      std::optional<std::u16string> macroError;
      error = guard_.Run([&] { macroError = macros.RunCreateMacro(macro, tree); });
      if (!error) error = macroError;
    }
    if (error) boxes_.ShowError(u"OnCreateUI Exception", *error);
  });
}

void CustomizeEntry::RunDestroyPass(MacroRunner& macros, bool cancelled) {
  ForEachProviderOnce([&](uint64_t serial) {
    TUIProviderEntry* entry = providers_.FindBySerial(serial);
    TUIData* tree = entry->UIData;
    std::optional<std::u16string> error;
    if (entry->Version == kNativeProviderVersion) {
      if (const OnDestroyUIFunc onDestroyUI = entry->OnDestroyUI) {
        const uint16_t flag = cancelled ? kCancelledFlag : 0;
        error = guard_.Run([onDestroyUI, tree, flag] { onDestroyUI(tree, flag); });
      }
    } else {
      const std::string macro = entry->OnDestroyUIMacro;
      std::optional<std::u16string> macroError;
      error = guard_.Run([&] { macroError = macros.RunDestroyMacro(macro, tree, cancelled); });
      if (!error) error = macroError;
    }
    if (error) {
      // The slot keeps what it holds; a version-20 tree left there is freed
      // before the next OnCreateUI pass.
      boxes_.ShowError(u"OnDestroyUI Exception", *error);
      return;
    }
    // An event that unregistered its own provider has had its tree released
    // with it.
    entry = providers_.FindBySerial(serial);
    if (!entry) return;
    if (entry->Version != kNativeProviderVersion && entry->UIData) DestroyTree(entry->UIData);
    entry->UIData = nullptr;
  });
}

bool CustomizeEntry::RunDialog(CustomizeDialog& dialog) {
  hotKeys_.SuspendHotKeys(window_);
  bool cancelled = false;
  try {
    cancelled = dialog.Run(providers_);
  } catch (...) {
    hotKeys_.ResumeHotKeys(window_);
    throw;
  }
  hotKeys_.ResumeHotKeys(window_);
  return cancelled;
}

void CustomizeEntry::ShowCustomizeShortcutsUI(MacroRunner& macros, CustomizeDialog& dialog) {
  if (running_) return;
  running_ = true;
  std::optional<std::u16string> failure;
  bool cancelled = false;  // what providers are told when the dialog failed before it closed
  try {
    RunCreatePass(macros);
    try {
      cancelled = RunDialog(dialog);
    } catch (...) {
      failure = CurrentErrorText();
    }
    RunDestroyPass(macros, cancelled);
  } catch (...) {
    if (!failure) failure = CurrentErrorText();
  }
  running_ = false;
  FreeSetAsideTrees();
  if (failure) boxes_.ShowError(u"Exception", *failure);
}

void CustomizeEntry::DestroyTree(TUIData* tree) {
  if (!tree) return;
  providers_.ForgetUIData(tree);
  if (!running_) {
    FreeTree(tree);
  } else if (std::find(setAside_.begin(), setAside_.end(), tree) == setAside_.end()) {
    setAside_.push_back(tree);
  }
}

Result CustomizeEntry::UnregisterProvider(const TUIProviderEntry* handle) {
  if (!handle || !providers_.Contains(handle)) return kUnknownProvider;
  TUIData* libraryTree = handle->Version == kNativeProviderVersion ? nullptr : handle->UIData;
  const Result result = providers_.Unregister(handle);
  if (result == kOk) DestroyTree(libraryTree);
  return result;
}

void CustomizeEntry::FreeTree(TUIData* tree) {
  // A client's handle that is no tree faults here; that is shown, not fatal.
  if (auto error = guard_.Run([tree] { DestroyUIData(tree); })) boxes_.ShowError(u"Exception", *error);
}

void CustomizeEntry::FreeSetAsideTrees() {
  std::vector<TUIData*> trees;
  trees.swap(setAside_);
  for (TUIData* tree : trees) FreeTree(tree);
}

}  // namespace loomkeys
