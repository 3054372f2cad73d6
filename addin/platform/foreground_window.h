#pragma once
// What the library needs to know about the window in front: whether there is
// one, whether it belongs to this process, its class name and its title.
#include <cstddef>
#include <string_view>

#include "platform/window_handle.h"

namespace loomkeys {

struct ForegroundWindow {
  WindowHandle handle = nullptr;
  bool exists = false;
  bool ownProcess = false;
  // Fixed buffers, as GetClassNameW and GetWindowTextW fill them, so that a
  // tick allocates nothing: at most 129 and 259 characters.
  char16_t className[130] = {};
  size_t classNameLength = 0;
  char16_t caption[260] = {};
  size_t captionLength = 0;

  std::u16string_view ClassName() const { return {className, classNameLength}; }
  std::u16string_view Caption() const { return {caption, captionLength}; }
};

class ForegroundWindowReader {
 public:
  virtual ~ForegroundWindowReader() = default;
  // Fills window with the foreground window's facts (exists false when none).
  virtual void Read(ForegroundWindow& window) noexcept = 0;
  // The foreground window's handle alone (null when none): a window keeps
  // its class and its process for as long as it lives.
  virtual WindowHandle Handle() noexcept = 0;
};

}  // namespace loomkeys
