// Measures, under Wine, how long a key press takes from SendInput to the
// shortcut's callback: presses of a live key while PowerPoint's editing
// window (a window of its class) is in front and 72 other keys are
// registered. In the same run it measures the floor that Wine's input path
// sets: the same 73 keys registered by the probe itself on a hidden window of
// its own, while another window of the probe is in front (so that the
// library has unbound them), and presses from SendInput to that window's
// WM_HOTKEY. The two alternate in blocks, so that a change of the machine's
// load meets both alike. Prints the medians, the 99th percentiles, the ratio
// of the medians, what one question for the window in front costs at a
// press (the question that judging a press asks) and the processor time of
// the library's own handling; the figures are reported, not checked. Only
// that every press arrived is checked.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

constexpr int kBlocks = 10;
constexpr int kPressesPerBlock = 40;
constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
constexpr WORD kProbeKey = 'J';

LARGE_INTEGER arrivedAt;
int arrivals = 0;
// Microseconds that GetForegroundWindow took right after the floor's presses.
std::vector<double> foregroundAtPress;

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void Arrived() {
  QueryPerformanceCounter(&arrivedAt);
  ++arrivals;
}

void LOOMKEYS_CALL Called(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) { Arrived(); }

void LOOMKEYS_CALL Ignored(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

// The keys beside the probe key: Alt+Shift and Ctrl+Alt with A to Z and 0 to 9.
template <typename Function>
void ForEachOtherKey(Function function) {
  for (UINT modifiers : {MOD_ALT | MOD_SHIFT, MOD_CONTROL | MOD_ALT}) {
    for (WORD key = 'A'; key <= 'Z'; ++key) function(modifiers, key);
    for (WORD key = '0'; key <= '9'; ++key) function(modifiers, key);
  }
}

// Presses the probe key kPressesPerBlock times and adds each press's time
// from SendInput to its arrival to `milliseconds`.
void MeasurePresses(std::vector<double>& milliseconds) {
  arrivals = 0;
  for (int press = 0; press < kPressesPerBlock; ++press) {
    LARGE_INTEGER sentAt;
    QueryPerformanceCounter(&sentAt);
    key_input::PressChord(kCtrlShift, kProbeKey);
    if (!host_windows::PumpUntil([press] { return arrivals > press; }, 3000)) break;
    milliseconds.push_back(Microseconds(sentAt, arrivedAt) / 1e3);
    host_windows::Pump(5);  // the key-up events go by before the next press
  }
}

// Besides the arrival, times the one question that the library asks the
// system to judge a press, asked here at the same moment of a press: after
// the wait for input, rather than one call after another in a loop.
LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && HIWORD(lParam) == kProbeKey) {
    Arrived();
    LARGE_INTEGER asked, answered;
    QueryPerformanceCounter(&asked);
    static_cast<void>(GetForegroundWindow());
    QueryPerformanceCounter(&answered);
    foregroundAtPress.push_back(Microseconds(asked, answered));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The floor: the same keys as hot keys of the probe's own hidden window.
void MeasureFloor(HWND window, std::vector<double>& milliseconds) {
  int id = 0;
  ForEachOtherKey([&](UINT modifiers, WORD key) { RegisterHotKey(window, ++id, modifiers, key); });
  CHECK(RegisterHotKey(window, ++id, kCtrlShift, kProbeKey));
  MeasurePresses(milliseconds);
  while (id > 0) UnregisterHotKey(window, id--);
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(fraction * static_cast<double>(sorted.size())));
  return sorted[at];
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return Percentile(values, 0.5);
}

void PrintFigures(const char* what, std::vector<double> milliseconds) {
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("%s over %zu presses: median %.3f ms, 99th percentile %.3f ms (fastest %.3f ms, slowest %.3f ms)\n", what,
              milliseconds.size(), Percentile(milliseconds, 0.5), Percentile(milliseconds, 0.99), milliseconds.front(),
              milliseconds.back());
}

// Where the time between the floor and the callback goes: the one system
// call of the library's judging of a press, which asks the system (under
// Wine, the wineserver) which window is in front, at a press and one call
// after another; and the library's handling of a press, WM_HOTKEY sent
// straight to its window 2000 times, up to the callback and in all.
void PrintHandlingCost(HWND editing) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < 2000; ++i) static_cast<void>(GetForegroundWindow());
  QueryPerformanceCounter(&end);
  std::printf("GetForegroundWindow at a press: median %.1f us; one call after another: %.1f us\n",
              Median(foregroundAtPress), Microseconds(start, end) / 2000);

  host_windows::BringToFront(editing);
  HWND hotKeyWindow = FindWindowW(L"THotKeyForm", nullptr);
  const ATOM id = system_probes::HotKeyId(kProbeKey, kCtrlShift);
  std::vector<double> toCallback, whole;
  for (int i = 0; i < 2000; ++i) {
    QueryPerformanceCounter(&start);
    SendMessageW(hotKeyWindow, WM_HOTKEY, id, MAKELPARAM(kCtrlShift, kProbeKey));
    QueryPerformanceCounter(&end);
    toCallback.push_back(Microseconds(start, arrivedAt));
    whole.push_back(Microseconds(start, end));
  }
  std::printf("handling of a press, WM_HOTKEY sent: median %.1f us to the callback, %.1f us in all\n",
              Median(toCallback), Median(whole));
}

}  // namespace

int main() {
  HWND editing = host_windows::Create(L"PPTFrameClass", L"Deck - PowerPoint");
  HWND elsewhere = host_windows::Create(L"ProbeFrame", L"Not PowerPoint");
  HWND floorWindow = host_windows::CreateHidden(L"LatencyFloorWindow", FloorWindowProc);
  const auto& dll = loomkeys_dll::Load();
  uint32_t id = 0;
  ForEachOtherKey(
      [&](UINT modifiers, WORD key) { dll.RegisterShortcut2("Others", key, modifiers, 1, Ignored, "", &id); });
  CHECK_EQ(dll.RegisterShortcut2("Probe", kProbeKey, kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN, Called, "probe", &id),
           LOOMKEYS_OK);

  std::vector<double> library, floor;
  for (int block = 0; block < kBlocks; ++block) {
    CHECK(host_windows::BringToFront(editing));  // a few ticks make the keys live
    MeasurePresses(library);
    CHECK(host_windows::BringToFront(elsewhere));  // and unbind them again
    MeasureFloor(floorWindow, floor);
  }
  const size_t presses = static_cast<size_t>(kBlocks * kPressesPerBlock);
  CHECK_EQ(library.size(), presses);
  CHECK_EQ(floor.size(), presses);
  if (!library.empty() && !floor.empty()) {
    PrintFigures("SendInput to callback", library);
    PrintFigures("SendInput to the probe's own WM_HOTKEY (floor)", floor);
    std::printf("median to callback / median of the floor: %.2fx\n", Median(library) / Median(floor));
  }
  PrintHandlingCost(editing);
  DestroyWindow(floorWindow);
  FreeLibrary(dll.module);
  return wine_check::Finish();
}
