#pragma once
// Plays the window in front for native tests. Every window shown is a new
// window with a handle of its own.
#include <cstdint>
#include <string_view>

#include "platform/foreground_window.h"

namespace loomkeys::testing {

class FakeForegroundWindow : public ForegroundWindowReader {
 public:
  void Show(std::u16string_view className, std::u16string_view caption, bool ownProcess) {
    window_ = {};
    window_.handle = reinterpret_cast<WindowHandle>(++windowsShown_);
    window_.exists = true;
    window_.ownProcess = ownProcess;
    window_.classNameLength = className.copy(window_.className, 129);
    window_.captionLength = caption.copy(window_.caption, 259);
  }
  void ShowNothing() { window_ = {}; }

  void Read(ForegroundWindow& window) noexcept override {
    ++reads;
    window = window_;
  }
  WindowHandle Handle() noexcept override { return window_.handle; }

  // How often the class name and the title were read.
  int reads = 0;

 private:
  ForegroundWindow window_;
  uintptr_t windowsShown_ = 0;
};

}  // namespace loomkeys::testing
