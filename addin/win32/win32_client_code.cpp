#include "win32/win32_client_code.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/exception_text.h"
#include "win32/module_hold.h"
#include "win32/seh_guard.h"

namespace loomkeys {

std::optional<std::u16string> RunClientCode(const std::function<void()>& call) noexcept {
  std::optional<std::u16string> error;
  // The C++ handlers sit inside the structured-exception guard: to the
  // guard's filter a C++ exception would be just another exception code.
  auto body = [&] {
    try {
      call();
    } catch (...) {
      error = CurrentExceptionText();
    }
  };
  StructuredFault fault;
  if (!RunClientCodeGuarded(body, &fault)) {
    char text[96];
    std::snprintf(text, sizeof text, "Exception %08lX at address %p", fault.code, fault.address);
    error = std::u16string(text, text + std::char_traits<char>::length(text));
  }
  return error;
}

std::optional<std::u16string> SehClientCodeGuard::Run(const std::function<void()>& call) noexcept {
  return RunClientCode(call);
}

void MessageBoxErrorBoxes::ShowError(std::u16string_view caption, std::u16string_view text) noexcept {
  const ModuleHold hold;  // the box's message loop runs presses, whose callbacks may unload the library
  try {
    const std::wstring captionText(caption.begin(), caption.end());
    const std::wstring bodyText(text.begin(), text.end());
    MessageBoxW(nullptr, bodyText.c_str(), captionText.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing left to report with.
  }
}

}  // namespace loomkeys
