#pragma once
// Runs the macros of version-20 providers through the "Run" method of
// PowerPoint's Application object, an Automation (IDispatch) object.
#include <windows.h>
#include <oleauto.h>

#include "platform/macro_runner.h"

namespace loomkeys {

class AutomationMacroRunner final : public MacroRunner {
 public:
  // Keeps its own reference to the Application object for its lifetime.
  // Throws ClientMemoryFault when the client's VARIANT cannot be read.
  explicit AutomationMacroRunner(const VARIANT* application);
  ~AutomationMacroRunner() override;
  AutomationMacroRunner(const AutomationMacroRunner&) = delete;
  AutomationMacroRunner& operator=(const AutomationMacroRunner&) = delete;

  std::optional<std::u16string> RunCreateMacro(std::string_view macroName, UIDataHandle tree) override;
  std::optional<std::u16string> RunDestroyMacro(std::string_view macroName, UIDataHandle tree, bool cancelled) override;

 private:
  // Application.Run(name, handle[, cancelled]) with every argument by reference.
  std::optional<std::u16string> Run(std::string_view macroName, UIDataHandle tree, const bool* cancelled);

  VARIANT application_;
};

}  // namespace loomkeys
