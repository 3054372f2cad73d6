#pragma once
// The Windows side of running client code: a guard that catches C++ and
// structured exceptions, and MessageBoxW for the error boxes.
#include "platform/client_code.h"

namespace loomkeys {

// Runs client code behind the client-code guard: the text of the C++ or
// structured exception that left it, or nothing when it returned normally.
// The frames that call it keep their resources outside: a structured
// exception unwinds everything inside.
std::optional<std::u16string> RunClientCode(const std::function<void()>& call) noexcept;

class SehClientCodeGuard final : public ClientCodeGuard {
 public:
  std::optional<std::u16string> Run(const std::function<void()>& call) noexcept override;
};

class MessageBoxErrorBoxes final : public ErrorBoxes {
 public:
  void ShowError(std::u16string_view caption, std::u16string_view text) noexcept override;
};

}  // namespace loomkeys
