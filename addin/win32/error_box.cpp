#include "win32/error_box.h"

#include <cwchar>
#include <exception>
#include <string>

#include "platform/ansi_text.h"

namespace loomkeys {
namespace {

void ShowErrorBox(const wchar_t* caption, const wchar_t* text) noexcept {
  // No owner: the error may come from a place that has no window, and an
  // owner of another thread would tie the box to that thread's input.
  MessageBoxW(nullptr, text, caption, MB_ICONERROR);
}

}  // namespace

void ShowCaughtErrorBox(const wchar_t* caption) noexcept {
  std::wstring text = L"Unknown error";
  try {
    throw;
  } catch (const std::exception& error) {
    try {
      const std::u16string message = AnsiToUtf16(error.what());
      text.assign(message.begin(), message.end());
    } catch (...) {
    }
  } catch (...) {
  }
  ShowErrorBox(caption, text.c_str());
}

void ShowFaultBox(const wchar_t* caption, const StructuredFault& fault) noexcept {
  wchar_t text[128];
  if (fault.code == EXCEPTION_ACCESS_VIOLATION) {
    std::swprintf(text, 128, L"Access violation at address %p", fault.address);
  } else {
    std::swprintf(text, 128, L"Exception 0x%08lX at address %p", fault.code, fault.address);
  }
  ShowErrorBox(caption, text);
}

}  // namespace loomkeys
