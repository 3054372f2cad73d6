#pragma once
// Reads the foreground window through user32.
#include "platform/foreground_window.h"

namespace loomkeys {

class Win32ForegroundWindowReader final : public ForegroundWindowReader {
 public:
  void Read(ForegroundWindow& window) noexcept override;
  WindowHandle Handle() noexcept override;
};

}  // namespace loomkeys
