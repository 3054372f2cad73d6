#include "win32/debug_log_file.h"

#include <windows.h>
#include <shlobj.h>

#include <new>
#include <string>
#include <string_view>

#include "debuglog/debug_log.h"
#include "debuglog/log_line.h"

namespace loomkeys {
namespace {

constexpr wchar_t kSwitchKey[] = L"Software\\Tarnwell\\Keyloom for PowerPoint";
constexpr wchar_t kSwitchValue[] = L"Debug";
constexpr wchar_t kLogFileName[] = L"Keyloom for PowerPoint.txt";
// With the switch on every 50 ms tick writes two lines; they collect here
// and reach the disk a few kilobytes at a time, and the rest at close.
constexpr size_t kFlushSize = 4096;

bool DebugSwitchIsOn() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSwitchKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LSTATUS status = RegQueryValueExW(key, kSwitchValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  // Only a 32-bit number is a switch. Any other type reads as off: the bytes
  // of the string "1" or "0" would otherwise look like a non-zero number, and
  // a 64-bit number does not fit (ERROR_MORE_DATA).
  return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value && value != 0;
}

// Appends to an existing log or creates a new one. Others may read the file
// while it is open but not write it, so a second process with the switch on
// fails here and logs nothing.
HANDLE OpenLogFile(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER zero = {};
  if (!SetFilePointerEx(file, zero, nullptr, FILE_END)) {
    CloseHandle(file);
    return nullptr;
  }
  return file;
}

// The open log file: stamps each line with the local time and buffers it.
class DebugLogFile final : public DebugLogSink {
 public:
  explicit DebugLogFile(HANDLE file) : file_(file) {}
  ~DebugLogFile() override {
    Flush();
    CloseHandle(file_);
  }

  // Write errors are ignored: the log never disturbs the host.
  void Flush() noexcept {
    if (buffer_.empty()) return;
    DWORD written = 0;
    WriteFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr);
    buffer_.clear();
  }

  void WriteLine(std::string_view text) noexcept override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    try {
      buffer_ += FormatLogLine(time, text);
    } catch (...) {
      return;  // out of memory: the line is dropped
    }
    if (buffer_.size() >= kFlushSize) Flush();
  }

 private:
  HANDLE file_;
  std::string buffer_;
};

DebugLogFile* openLog = nullptr;

}  // namespace

std::wstring GetSpecialFolderPath(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(items, path) != FALSE;
  // The item-id list belongs to the shell's allocator.
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(items);
    allocator->Release();
  }
  return found ? std::wstring(path) : std::wstring();
}

void OpenDebugLog() noexcept {
  if (openLog) return;
  try {
    if (!DebugSwitchIsOn()) return;
    const std::wstring desktop = GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    if (desktop.empty()) return;  // nowhere to write: the log stays off
    HANDLE file = OpenLogFile(desktop + L"\\" + kLogFileName);
    if (!file) return;
    openLog = new (std::nothrow) DebugLogFile(file);
    if (!openLog) {
      CloseHandle(file);
      return;
    }
    SetDebugLogSink(openLog);
  } catch (...) {
    // Out of memory while building the path: the log stays off.
  }
}

void CloseDebugLog(bool processExit) noexcept {
  // No line may reach the file once it is closed.
  SetDebugLogSink(nullptr);
  if (processExit) {
    if (openLog) openLog->Flush();
    return;
  }
  delete openLog;
  openLog = nullptr;
}

}  // namespace loomkeys
