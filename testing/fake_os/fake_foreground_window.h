#pragma once
// Plays the window in front for native tests.
#include <string_view>

#include "platform/foreground_window.h"

namespace loomkeys::testing {

class FakeForegroundWindow : public ForegroundWindowReader {
 public:
  void Show(std::u16string_view className, std::u16string_view caption, bool ownProcess) {
    window_ = {};
    window_.exists = true;
    window_.ownProcess = ownProcess;
    window_.classNameLength = className.copy(window_.className, 129);
    window_.captionLength = caption.copy(window_.caption, 259);
  }
  void ShowNothing() { window_ = {}; }

  void Read(ForegroundWindow& window) noexcept override { window = window_; }

 private:
  ForegroundWindow window_;
};

}  // namespace loomkeys::testing
