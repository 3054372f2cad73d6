#include "customize/customize_session.h"

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "common/exception_text.h"
#include "customize/provider_record.h"

namespace loomkeys {
namespace {

constexpr uint16_t kCancelledFlag = 0xFFFF;
constexpr std::u16string_view kNoTree = u"The handle is no UI data tree, or its tree was destroyed.";
constexpr std::u16string_view kNoTreeStored = u"OnCreateUI stored a handle that is no UI data tree.";

}  // namespace

CustomizeSession::CustomizeSession(ProviderList& providers, HotKeyTable& hotKeys, WindowHandle window,
                                   ClientCodeGuard& guard, ErrorBoxes& boxes)
    : providers_(providers), hotKeys_(hotKeys), window_(window), guard_(guard), boxes_(boxes) {}

template <typename Visit>
void CustomizeSession::ForEachProviderOnce(Visit visit) {
  // Events may register providers (at the back or the front) and unregister
  // any of them, so the walk looks for the first provider in list order that it
  // has not visited yet, every time: nobody is called twice, nobody freed is
  // touched, and a provider added during the pass is still visited.
  std::set<uint64_t> visited;
  for (;;) {
    RegisteredProvider* next = nullptr;
    for (size_t i = 0; i < providers_.Count() && !next; ++i) {
      if (!visited.count(providers_.At(i)->serial)) next = providers_.At(i);
    }
    if (!next) return;
    visited.insert(next->serial);
    visit(next->serial);
  }
}

void CustomizeSession::RunCreatePass(MacroRunner& macros) {
  ForEachProviderOnce([&](uint64_t serial) {
    RegisteredProvider* provider = providers_.FindBySerial(serial);
    std::optional<std::u16string> error;
    if (provider->version == kNativeProviderVersion) {
      if (!provider->onCreateUI) return;
      const OnCreateUIFunc onCreateUI = provider->onCreateUI;
      // The event gets a slot of the session's own: it may unregister its
      // provider before it stores its tree, and the provider's field would be
      // freed memory by then.
      const UIDataHandle before = provider->treeHandle;
      UIDataHandle slot = before;
      error = guard_.Run([onCreateUI, &slot] { onCreateUI(&slot); });
      provider = providers_.FindBySerial(serial);
      // The dialog would read a slot that holds no live tree (garbage, or a
      // tree destroyed already) as a tree; such a provider contributes
      // nothing. A tree that was there before and that the event destroyed
      // is simply gone.
      if (provider && !HoldTree(*provider, slot) && slot && !error && slot != before) {
        error = std::u16string(kNoTreeStored);
      }
    } else {
      // A tree left behind by a failed OnDestroyUI macro goes first.
      if (provider->treeHandle) DestroyTree(provider->treeHandle);
      const UIDataHandle tree = trees_.Create();
      HoldTree(*provider, tree);
      const std::string macro = provider->onCreateUIMacro;  // the macro may unregister its provider
      std::optional<std::u16string> macroError;
      error = guard_.Run([&] { macroError = macros.RunCreateMacro(macro, tree); });
      if (!error) error = macroError;
    }
    if (error) boxes_.ShowError(u"OnCreateUI Exception", *error);
  });
}

void CustomizeSession::RunDestroyPass(MacroRunner& macros, bool cancelled) {
  ForEachProviderOnce([&](uint64_t serial) {
    RegisteredProvider* provider = providers_.FindBySerial(serial);
    const UIDataHandle tree = provider->treeHandle;
    std::optional<std::u16string> error;
    if (provider->version == kNativeProviderVersion) {
      if (const OnDestroyUIFunc onDestroyUI = provider->onDestroyUI) {
        const uint16_t flag = cancelled ? kCancelledFlag : 0;
        error = guard_.Run([onDestroyUI, tree, flag] { onDestroyUI(tree, flag); });
      }
    } else {
      const std::string macro = provider->onDestroyUIMacro;
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
    provider = providers_.FindBySerial(serial);
    if (!provider) return;
    if (provider->version != kNativeProviderVersion && provider->treeHandle) DestroyTree(provider->treeHandle);
    HoldTree(*provider, 0);
  });
}

bool CustomizeSession::RunDialog(CustomizeDialog& dialog) {
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

void CustomizeSession::ShowCustomizeShortcutsUI(MacroRunner& macros, CustomizeDialog& dialog) {
  if (running_) return;
  running_ = true;
  std::optional<std::u16string> failure;
  bool cancelled = false;  // what providers are told when the dialog failed before it closed
  try {
    RunCreatePass(macros);
    try {
      cancelled = RunDialog(dialog);
    } catch (...) {
      failure = CurrentExceptionText();
    }
    RunDestroyPass(macros, cancelled);
  } catch (...) {
    if (!failure) failure = CurrentExceptionText();
  }
  running_ = false;
  FreeSetAsideTrees();
  if (failure) boxes_.ShowError(u"Exception", *failure);
}

bool CustomizeSession::HoldTree(RegisteredProvider& provider, UIDataHandle handle) {
  provider.tree = trees_.Find(handle);
  provider.treeHandle = provider.tree ? handle : 0;
  return provider.tree != nullptr;
}

void CustomizeSession::DestroyTree(UIDataHandle handle) {
  if (!handle) return;
  const UIData* tree = trees_.Find(handle);
  if (!tree) {
    boxes_.ShowError(u"Exception", kNoTree);
    return;
  }
  providers_.ForgetUIData(tree);
  if (!running_) {
    trees_.Free(handle);
  } else if (std::find(setAside_.begin(), setAside_.end(), handle) == setAside_.end()) {
    setAside_.push_back(handle);
  }
}

Result CustomizeSession::UnregisterProvider(const RegisteredProvider* handle) {
  if (!handle || !providers_.Contains(handle)) return kUnknownProvider;
  const UIDataHandle libraryTree = handle->version == kNativeProviderVersion ? 0 : handle->treeHandle;
  const Result result = providers_.Unregister(handle);
  if (result == kOk) DestroyTree(libraryTree);
  return result;
}

void CustomizeSession::FreeSetAsideTrees() {
  std::vector<UIDataHandle> trees;
  trees.swap(setAside_);
  for (const UIDataHandle tree : trees) trees_.Free(tree);
}

}  // namespace loomkeys
