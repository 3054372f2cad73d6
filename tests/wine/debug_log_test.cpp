// The debug log of the real Loomkeys.dll: the per-user switch "Debug" is read
// at every load, and only a non-zero REG_DWORD makes the library write
// stamped lines to "Keyloom for PowerPoint.txt" on the desktop. The test puts
// the switch and the file back as it found them, so that the other test
// programs of the same Wine prefix run with the log as before.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"

namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Tarnwell";
constexpr wchar_t kSwitchKey[] = L"Software\\Tarnwell\\Keyloom for PowerPoint";
constexpr wchar_t kSwitchValue[] = L"Debug";
constexpr LPARAM kCtrlAltA = 0x00410003;  // virtual key 0x41, MOD_CONTROL | MOD_ALT
constexpr int kTicks = 3;

// ---- the log file -----------------------------------------------------------

std::wstring LogFilePath() {
  wchar_t desktop[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop))) {
    std::printf("no desktop folder\n");
    std::exit(2);
  }
  return std::wstring(desktop) + L"\\Keyloom for PowerPoint.txt";
}

const std::wstring kLogFile = LogFilePath();

bool LogFileExists() { return GetFileAttributesW(kLogFile.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadLogFile() {
  HANDLE file = CreateFileW(kLogFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) content.append(chunk, read);
  CloseHandle(file);
  return content;
}

void WriteLogFile(const std::string& content) {
  HANDLE file = CreateFileW(kLogFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void RemoveLogFile() { DeleteFileW(kLogFile.c_str()); }

// ---- the switch -------------------------------------------------------------

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetSwitch(DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kSwitchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExW(key, kSwitchValue, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SetSwitchDword(DWORD value) { SetSwitch(REG_DWORD, &value, sizeof value); }

void RemoveSwitchValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kSwitchKey, kSwitchValue); }

// What the switch and the log file were before the test; put back at exit,
// whichever way the program ends.
struct SavedState {
  bool makerKeyExisted = false;
  bool switchKeyExisted = false;
  bool valueExisted = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool fileExisted = false;
  std::string fileContent;
} saved;

void SaveState() {
  saved.makerKeyExisted = KeyExists(kMakerKey);
  saved.switchKeyExisted = KeyExists(kSwitchKey);
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSwitchKey, kSwitchValue, RRF_RT_ANY | RRF_NOEXPAND, &saved.type, nullptr,
                   &size) == ERROR_SUCCESS) {
    saved.valueExisted = true;
    saved.data.resize(size);
    RegGetValueW(HKEY_CURRENT_USER, kSwitchKey, kSwitchValue, RRF_RT_ANY | RRF_NOEXPAND, &saved.type, saved.data.data(),
                 &size);
  }
  saved.fileExisted = LogFileExists();
  if (saved.fileExisted) saved.fileContent = ReadLogFile();
}

void RestoreState() {
  if (saved.valueExisted) {
    SetSwitch(saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()));
  } else {
    RemoveSwitchValue();
    if (!saved.switchKeyExisted) RegDeleteKeyW(HKEY_CURRENT_USER, kSwitchKey);
    if (!saved.makerKeyExisted) RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey);
  }
  if (saved.fileExisted) {
    WriteLogFile(saved.fileContent);
  } else {
    RemoveLogFile();
  }
}

// ---- a load of the library --------------------------------------------------

// Runs this thread's message loop (the library's timer ticks only while the
// loading thread pumps) until `count` messages of one kind have been
// dispatched to the window. Gives up after 10 s, so that a timer that never
// ticks fails the checks on the file instead of hanging the test.
void PumpUntilDispatched(HWND window, UINT message, int count) {
  const ULONGLONG giveUp = GetTickCount64() + 10000;
  int seen = 0;
  while (seen < count && GetTickCount64() < giveUp) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      continue;
    }
    if (msg.hwnd == window && msg.message == message) ++seen;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void LetTheTimerTick(HWND hotKeyWindow) { PumpUntilDispatched(hotKeyWindow, WM_TIMER, kTicks); }

// A Ctrl+Alt+A press as the system delivers it, whether or not the key is live.
void PressCtrlAltA(HWND hotKeyWindow) {
  PostMessageW(hotKeyWindow, WM_HOTKEY, system_probes::HotKeyId(HIWORD(kCtrlAltA), LOWORD(kCtrlAltA)), kCtrlAltA);
  PumpUntilDispatched(hotKeyWindow, WM_HOTKEY, 1);
}

// One load: a few ticks and a hot key, then unload. Everything the log can
// be asked to write during a load without a PowerPoint window.
void RunPlainSession() {
  const auto& dll = loomkeys_dll::Load();
  HWND hotKeyWindow = system_probes::HotKeyWindow();
  LetTheTimerTick(hotKeyWindow);
  PressCtrlAltA(hotKeyWindow);
  FreeLibrary(dll.module);
}

void LoomkeysCall(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

// ---- reading the log --------------------------------------------------------

// The local time as the log stamps it: "yyyy-mm-dd hh:nn:ss.zzz".
std::string NowStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond, now.wMilliseconds);
  return stamp;
}

bool StampIsValid(std::string_view stamp) {
  constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd.ddd";
  if (stamp.size() != kShape.size()) return false;
  for (size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
    if (kShape[i] == 'd' ? !digit : stamp[i] != kShape[i]) return false;
  }
  auto field = [&](size_t at, size_t width) { return std::stoi(std::string(stamp.substr(at, width))); };
  const int month = field(5, 2), day = field(8, 2), hour = field(11, 2), minute = field(14, 2), second = field(17, 2);
  return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 && second <= 59;
}

struct LogLine {
  std::string stamp;
  std::string text;
};

// Splits written log content into lines and checks the form of each: a
// valid stamp, one blank, text without line breaks, CR LF.
std::vector<LogLine> ParseLogLines(std::string_view content) {
  std::vector<LogLine> lines;
  CHECK(content.empty() || content.substr(content.size() - 2) == "\r\n");
  size_t start = 0;
  while (start < content.size()) {
    const size_t end = content.find("\r\n", start);
    const std::string_view line = content.substr(start, end - start);
    start = end == std::string_view::npos ? content.size() : end + 2;
    CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    CHECK(line.size() > 24 && line[23] == ' ');
    CHECK(StampIsValid(line.substr(0, 23)));
    if (line.size() > 24) lines.push_back({std::string(line.substr(0, 23)), std::string(line.substr(24))});
  }
  return lines;
}

// The stamps are the local time of writing: within the load, in order.
void CheckStampsWithin(const std::vector<LogLine>& lines, const std::string& before, const std::string& after) {
  for (size_t i = 0; i < lines.size(); ++i) {
    CHECK(lines[i].stamp >= before && lines[i].stamp <= after);
    if (i > 0) CHECK(lines[i - 1].stamp <= lines[i].stamp);
  }
}

size_t CountLines(const std::vector<LogLine>& lines, std::string_view text) {
  return std::count_if(lines.begin(), lines.end(), [&](const LogLine& line) { return line.text == text; });
}

// Where the first line with this text stands, or lines.size() if none.
size_t FirstLine(const std::vector<LogLine>& lines, std::string_view text) {
  return std::find_if(lines.begin(), lines.end(), [&](const LogLine& line) { return line.text == text; }) -
         lines.begin();
}

// Where the last line with this text stands, or 0 if none.
size_t LastLine(const std::vector<LogLine>& lines, std::string_view text) {
  const auto last = std::find_if(lines.rbegin(), lines.rend(), [&](const LogLine& line) { return line.text == text; });
  return last == lines.rend() ? 0 : static_cast<size_t>(lines.rend() - last) - 1;
}

// Shows what the log holds when a check on its lines has failed.
void PrintLinesIfFailedSince(int failedBefore, const std::vector<LogLine>& lines) {
  if (wine_check::failed == failedBefore) return;
  std::printf("   the log holds %zu lines:\n", lines.size());
  for (size_t i = 0; i < lines.size() && i < 40; ++i) {
    std::printf("   %s %s\n", lines[i].stamp.c_str(), lines[i].text.c_str());
  }
}

// ---- the cases --------------------------------------------------------------

void SwitchedOnTheLogGetsTheLinesOfTicksAndHotKeys() {
  wine_check::Section("Debug = 1: the desktop file gets stamped lines of the ticks and of hot keys");
  SetSwitchDword(1);
  RemoveLogFile();
  const std::string before = NowStamp();
  const auto& dll = loomkeys_dll::Load();
  HWND hotKeyWindow = system_probes::HotKeyWindow();
  CHECK(hotKeyWindow != nullptr);

  CHECK(LogFileExists());
  // Others may read the open log, but not write it.
  HANDLE reader = CreateFileW(kLogFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  CHECK(reader != INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  HANDLE writer = CreateFileW(kLogFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  CHECK(writer == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);

  // One key for slide design: off while nothing of PowerPoint is in front.
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut2("DebugLogTest", 'A', MOD_CONTROL | MOD_ALT, LOOMKEYS_MODE_SLIDE_DESIGN, LoomkeysCall,
                                 "", &id),
           LOOMKEYS_OK);
  LetTheTimerTick(hotKeyWindow);
  PressCtrlAltA(hotKeyWindow);

  HWND editing = host_windows::Create(L"PPTFrameClass", L"Presentation1 - PowerPoint");
  CHECK(host_windows::BringToFront(editing));
  LetTheTimerTick(hotKeyWindow);
  PressCtrlAltA(hotKeyWindow);
  // Another window of this process in front: the key is off again, and a
  // press that came before the switch is typed again for that window.
  HWND notes = host_windows::Create(L"NotesFrame", L"Notes");
  CHECK(host_windows::BringToFront(notes));
  PressCtrlAltA(hotKeyWindow);
  DestroyWindow(notes);
  DestroyWindow(editing);
  CHECK_EQ(dll.UnregisterShortcut(id), LOOMKEYS_OK);
  FreeLibrary(dll.module);
  const std::string after = NowStamp();

  const int failedBefore = wine_check::failed;
  const std::vector<LogLine> lines = ParseLogLines(ReadLogFile());
  CheckStampsWithin(lines, before, after);
  CHECK(CountLines(lines, "ActiveMode = 0") >= 1);
  CHECK(CountLines(lines, "EnabledVirtualKeys = 0, DisabledVirtualKeys = 1") >= 1);
  CHECK(CountLines(lines, "ActiveMode = 1") >= 1);
  CHECK(CountLines(lines, "EnabledVirtualKeys = 1, DisabledVirtualKeys = 0") >= 1);
  CHECK_EQ(CountLines(lines, "HotKey = 00410003"), 3u);
  // Only the press made while the editing window was in front goes on to
  // the callbacks.
  CHECK_EQ(CountLines(lines, "HotKey called = 00410003"), 1u);
  CHECK(CountLines(lines, "HotKey re-sent = 00410003") >= 1);
  CHECK(FirstLine(lines, "ActiveMode = 0") < FirstLine(lines, "HotKey = 00410003"));
  CHECK(FirstLine(lines, "ActiveMode = 1") < FirstLine(lines, "HotKey called = 00410003"));
  CHECK(FirstLine(lines, "HotKey called = 00410003") < LastLine(lines, "HotKey re-sent = 00410003"));
  PrintLinesIfFailedSince(failedBefore, lines);
  RemoveLogFile();
}

void AnExistingLogKeepsItsOldLines() {
  wine_check::Section("an existing log keeps its old lines and the new ones follow");
  const std::string old = "2001-02-03 04:05:06.007 an old line\r\nanother old line\r\n";
  WriteLogFile(old);
  SetSwitchDword(0xFFFFFFFF);  // any non-zero number switches the log on
  const std::string before = NowStamp();
  RunPlainSession();
  const std::string after = NowStamp();
  const std::string content = ReadLogFile();
  CHECK(content.compare(0, old.size(), old) == 0);
  CHECK(content.size() > old.size());
  const std::string_view newPart = std::string_view(content).substr(std::min(old.size(), content.size()));
  const std::vector<LogLine> added = ParseLogLines(newPart);
  CheckStampsWithin(added, before, after);
  CHECK(CountLines(added, "ActiveMode = 0") >= 1);
  CHECK_EQ(CountLines(added, "HotKey = 00410003"), 1u);
  RemoveLogFile();
}

void OnlyANonZeroDwordSwitchesTheLogOn() {
  wine_check::Section("no file unless Debug is a non-zero REG_DWORD");
  struct OffCase {
    const char* name;
    void (*set)();
  };
  const OffCase cases[] = {
      {"no value", [] { RemoveSwitchValue(); }},
      {"REG_DWORD 0", [] { SetSwitchDword(0); }},
      {"REG_SZ \"1\"", [] { SetSwitch(REG_SZ, L"1", sizeof L"1"); }},
      {"REG_QWORD 1",
       [] {
         const ULONGLONG one = 1;
         SetSwitch(REG_QWORD, &one, sizeof one);
       }},
      {"REG_BINARY 01 00 00 00",
       [] {
         const BYTE one[4] = {1, 0, 0, 0};
         SetSwitch(REG_BINARY, one, sizeof one);
       }},
  };
  for (const OffCase& c : cases) {
    std::printf("   %s\n", c.name);
    RemoveLogFile();
    c.set();
    RunPlainSession();
    CHECK(!LogFileExists());
  }
  if (!saved.switchKeyExisted) {
    std::printf("   no key\n");
    RemoveLogFile();
    RegDeleteKeyW(HKEY_CURRENT_USER, kSwitchKey);
    RunPlainSession();
    CHECK(!LogFileExists());
  }
}

void ALogHeldByAnotherWriterStaysSilent() {
  wine_check::Section("a log that someone else holds open for writing stays untouched");
  HANDLE holder = CreateFileW(kLogFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  CHECK(holder != INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(holder, "held\r\n", 6, &written, nullptr);
  SetSwitchDword(1);
  RunPlainSession();
  CloseHandle(holder);
  CHECK(ReadLogFile() == "held\r\n");
  RemoveLogFile();
}

}  // namespace

int main() {
  SaveState();
  std::atexit(RestoreState);
  SwitchedOnTheLogGetsTheLinesOfTicksAndHotKeys();
  // Runs after a load with the switch on: each load reads the switch anew.
  OnlyANonZeroDwordSwitchesTheLogOn();
  AnExistingLogKeepsItsOldLines();
  ALogHeldByAnotherWriterStaysSilent();
  return wine_check::Finish();
}
