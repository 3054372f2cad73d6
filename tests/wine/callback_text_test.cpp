// The callback's strings in a double-byte ANSI code page: CTest runs this
// program with a Japanese locale, so that Wine's ANSI code page is 932. A
// namespace that ends in a lead byte shows whether the library converts the
// doubled string as a whole (the lead byte pairs with the copy's first byte)
// or converts the string once and doubles the result.
#include <windows.h>

#include <string>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;

struct Received {
  int calls = 0;
  std::wstring nameSpace, context;  // read up to the terminating zero
  uint32_t nameSpaceLength = 0, contextLength = 0;
} received;

uint32_t LengthWord(const wchar_t* text) { return reinterpret_cast<const uint32_t*>(text)[-1]; }

void LOOMKEYS_CALL Record(const wchar_t* ns, uint16_t, uint16_t, const wchar_t* context, uint32_t) {
  ++received.calls;
  received.nameSpace = ns;
  received.context = context;
  received.nameSpaceLength = LengthWord(ns);
  received.contextLength = LengthWord(context);
}

std::wstring FromAnsi(const std::string& bytes) {
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), units);
  return text;
}

}  // namespace

int main() {
  std::printf("ANSI code page %u\n", GetACP());
  CHECK_EQ(GetACP(), 932u);
  HWND editing = host_windows::CreateEditingInFront();
  const auto& dll = loomkeys_dll::Load();

  // "Kb" and a lead byte; the context is one complete double-byte character.
  const std::string nameSpace = "Kb\x82";
  const std::string context = "\x82\xA0";
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut(nameSpace.c_str(), 'K', kCtrlShift, Record, context.c_str(), &id), LOOMKEYS_OK);
  host_windows::Pump(300);
  key_input::PressChord(kCtrlShift, 'K');
  CHECK(host_windows::PumpUntil([] { return received.calls == 1; }, 3000));

  wine_check::Section("the doubled ANSI string is converted as a whole");
  const std::wstring doubled = FromAnsi(nameSpace + nameSpace);
  CHECK(doubled != FromAnsi(nameSpace) + FromAnsi(nameSpace));  // the code page really pairs the bytes
  CHECK(received.nameSpace == doubled);
  CHECK_EQ(received.nameSpaceLength, doubled.size());
  CHECK(received.context == FromAnsi(context + context));
  CHECK_EQ(received.contextLength, 2u);

  dll.UnregisterShortcut(id);
  FreeLibrary(dll.module);
  DestroyWindow(editing);
  return wine_check::Finish();
}
