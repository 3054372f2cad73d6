#pragma once
// How the macros of version-20 providers run: through the "Run" method of
// PowerPoint's Application object on Windows, a recording fake in tests.
#include <optional>
#include <string>
#include <string_view>

#include "customize/ui_data_trees.h"

namespace loomkeys {

class MacroRunner {
 public:
  virtual ~MacroRunner() = default;
  // Runs the OnCreateUI macro with the handle of the tree it is to fill. Returns the
  // failure's text, or nothing when the macro ran.
  virtual std::optional<std::u16string> RunCreateMacro(std::string_view macroName, UIDataHandle tree) = 0;
  // Runs the OnDestroyUI macro with the tree and whether the dialog was cancelled.
  virtual std::optional<std::u16string> RunDestroyMacro(std::string_view macroName, UIDataHandle tree,
                                                        bool cancelled) = 0;
};

}  // namespace loomkeys
