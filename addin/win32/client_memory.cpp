#include "win32/client_memory.h"

#include <cstring>
#include <cwchar>

#include "win32/seh_guard.h"

namespace loomkeys {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is UTF-16 on Windows");

// Measured under the guard, then copied under it into a string that was
// sized outside it: an allocation that fails throws as usual, never inside
// the guarded scope.
template <typename Char, typename Copy>
Copy CopyOfClientText(const Char* text, size_t (*length)(const Char*)) {
  Copy copy;
  if (!text) return copy;
  size_t size = 0;
  auto measure = [&] { size = length(text); };
  if (!RunCopyGuarded(measure)) throw ClientMemoryFault();
  copy.resize(size);
  if (!GuardedCopy(copy.data(), text, size * sizeof(Char))) throw ClientMemoryFault();
  return copy;
}

}  // namespace

std::string ClientText(const char* text) { return CopyOfClientText<char, std::string>(text, std::strlen); }

std::u16string ClientText(const wchar_t* text) { return CopyOfClientText<wchar_t, std::u16string>(text, std::wcslen); }

}  // namespace loomkeys
