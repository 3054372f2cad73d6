// Measures, under Wine, how long a key press takes from SendInput to the
// shortcut's callback: 200 presses of a live key while PowerPoint's editing
// window (a window of its class) is in front and 72 other keys are
// registered. Prints the median and the 99th percentile; the figures are
// reported, not checked. Only that every press arrived is checked.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

constexpr int kPresses = 200;
constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;

LARGE_INTEGER calledAt;
int calls = 0;

void LOOMKEYS_CALL Called(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  QueryPerformanceCounter(&calledAt);
  ++calls;
}

void LOOMKEYS_CALL Ignored(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

double Percentile(std::vector<double> sorted, double fraction) {
  const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(fraction * static_cast<double>(sorted.size())));
  return sorted[at];
}

}  // namespace

int main() {
  HWND editing = host_windows::Create(L"PPTFrameClass", L"Deck - PowerPoint");
  CHECK(host_windows::BringToFront(editing));
  HMODULE dll = loomkeys_dll::Load();
  auto RegisterShortcut2 = LOOMKEYS_EXPORT(dll, RegisterShortcut2);

  uint32_t id = 0;
  for (UINT modifiers : {MOD_ALT | MOD_SHIFT, MOD_CONTROL | MOD_ALT}) {
    for (WORD key = 'A'; key <= 'Z'; ++key) RegisterShortcut2("Others", key, modifiers, 1, Ignored, "", &id);
    for (WORD key = '0'; key <= '9'; ++key) RegisterShortcut2("Others", key, modifiers, 1, Ignored, "", &id);
  }
  CHECK_EQ(RegisterShortcut2("Probe", 'J', kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN, Called, "probe", &id), LOOMKEYS_OK);
  host_windows::Pump(300);  // a few ticks make the keys live

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  for (int press = 0; press < kPresses; ++press) {
    LARGE_INTEGER sentAt;
    QueryPerformanceCounter(&sentAt);
    key_input::PressChord(kCtrlShift, 'J');
    if (!host_windows::PumpUntil([press] { return calls > press; }, 3000)) break;
    milliseconds.push_back(static_cast<double>(calledAt.QuadPart - sentAt.QuadPart) * 1e3 /
                           static_cast<double>(frequency.QuadPart));
    host_windows::Pump(5);  // the key-up events go by before the next press
  }
  CHECK_EQ(milliseconds.size(), static_cast<size_t>(kPresses));
  CHECK_EQ(calls, kPresses);

  if (!milliseconds.empty()) {
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf(
        "SendInput to callback over %zu presses: median %.3f ms, 99th percentile %.3f ms "
        "(fastest %.3f ms, slowest %.3f ms)\n",
        milliseconds.size(), Percentile(milliseconds, 0.5), Percentile(milliseconds, 0.99), milliseconds.front(),
        milliseconds.back());
  }
  FreeLibrary(dll);
  return wine_check::Finish();
}
