#pragma once
// ShowCustomizeShortcutsUI: every provider fills its tree (OnCreateUI), the
// dialog runs with the system hot keys suspended, and every provider is told
// the outcome (OnDestroyUI). Provider events are client code: an error in
// one is shown in its pass's box and the pass goes on.
#include <vector>

#include "customize/provider_list.h"
#include "customize/ui_data_trees.h"
#include "hotkeys/hotkey_table.h"
#include "platform/client_code.h"
#include "platform/customize_dialog.h"
#include "platform/macro_runner.h"

namespace loomkeys {

class CustomizeSession {
 public:
  CustomizeSession(ProviderList& providers, HotKeyTable& hotKeys, WindowHandle window, ClientCodeGuard& guard,
                   ErrorBoxes& boxes);
  // Frees every tree still live: the version-20 providers' trees, those set
  // aside, and those that clients never destroyed. Providers are not called.
  ~CustomizeSession() = default;
  CustomizeSession(const CustomizeSession&) = delete;
  CustomizeSession& operator=(const CustomizeSession&) = delete;

  // Runs both passes around one modal run of the dialog. A call made while
  // one is already running (from a provider event or from the dialog's
  // message loop) returns at once and calls nobody.
  void ShowCustomizeShortcutsUI(MacroRunner& macros, CustomizeDialog& dialog);

  // Every tree that CreateUIData handed out, and those made for version-20
  // providers, until they are freed.
  UIDataTrees& Trees() { return trees_; }
  // Frees a tree and clears every provider slot that holds it. While a run
  // is in progress the tree is only set aside and freed when the run ends:
  // the dialog's view, or a macro still filling it, may point into it. A
  // handle that is no live tree frees nothing and is shown in an "Exception"
  // box; 0 is ignored.
  void DestroyTree(UIDataHandle handle);
  // Removes a provider; the tree that the library made for a version-20
  // provider goes with it. 0, or 8 when the handle is not registered.
  Result UnregisterProvider(const RegisteredProvider* handle);

 private:
  void RunCreatePass(MacroRunner& macros);
  void RunDestroyPass(MacroRunner& macros, bool cancelled);
  // Runs the dialog with the hot keys suspended; true when it was cancelled.
  bool RunDialog(CustomizeDialog& dialog);
  // Calls visit once for each provider in list order, also for providers
  // registered during the walk, even when events add or remove providers.
  template <typename Visit>
  void ForEachProviderOnce(Visit visit);
  void FreeSetAsideTrees();
  // Puts the live tree of `handle` into the provider's slot, or empties the
  // slot when there is none; true when the slot holds a tree.
  bool HoldTree(RegisteredProvider& provider, UIDataHandle handle);

  ProviderList& providers_;
  HotKeyTable& hotKeys_;
  WindowHandle window_;
  ClientCodeGuard& guard_;
  ErrorBoxes& boxes_;
  UIDataTrees trees_;
  bool running_ = false;
  std::vector<UIDataHandle> setAside_;  // trees destroyed while a run was in progress, still live
};

}  // namespace loomkeys
