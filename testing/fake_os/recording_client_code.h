#pragma once
// Client-code stand-ins for native tests: a guard that catches C++
// exceptions (structured exceptions exist only on Windows) and error boxes
// that are recorded instead of shown.
#include <string>
#include <utility>
#include <vector>

#include "common/exception_text.h"
#include "platform/client_code.h"

namespace loomkeys::testing {

class CatchingClientCodeGuard : public ClientCodeGuard {
 public:
  std::optional<std::u16string> Run(const std::function<void()>& call) noexcept override {
    try {
      call();
      return std::nullopt;
    } catch (...) {
      return CurrentExceptionText();
    }
  }
};

struct ErrorBox {
  std::u16string caption;
  std::u16string text;
  bool operator==(const ErrorBox&) const = default;
};

class RecordingErrorBoxes : public ErrorBoxes {
 public:
  void ShowError(std::u16string_view caption, std::u16string_view text) noexcept override {
    shown.push_back({std::u16string(caption), std::u16string(text)});
  }
  std::vector<ErrorBox> shown;
};

}  // namespace loomkeys::testing
