#pragma once
// Client code (shortcut callbacks, provider events, macros) runs behind a
// guard: whatever it raises must not reach the host's message loop.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace loomkeys {

class ClientCodeGuard {
 public:
  virtual ~ClientCodeGuard() = default;
  // Runs call. Returns the text of an error that it raised (a C++ exception's
  // message, or on Windows the code and address of a structured exception),
  // or nothing when it returned normally.
  virtual std::optional<std::u16string> Run(const std::function<void()>& call) noexcept = 0;
};

// Message boxes that report an error raised by client code: no owner
// window, the error icon and an OK button.
class ErrorBoxes {
 public:
  virtual ~ErrorBoxes() = default;
  virtual void ShowError(std::u16string_view caption, std::u16string_view text) noexcept = 0;
};

}  // namespace loomkeys
