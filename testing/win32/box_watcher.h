#pragma once
// A watcher thread that finds message boxes and dialogs by caption, reads
// their text and answers them as a user would.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace box_watcher {

// Waits up to timeoutMs for a visible dialog-class window with this caption.
inline HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    HWND dialog = FindWindowW(L"#32770", caption);
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(10);
  }
  return nullptr;
}

// The text of a message box (its static control has the id 0xFFFF).
inline std::wstring MessageBoxText(HWND box) {
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  return text;
}

// Answers every message box with one caption by pressing a button, and
// keeps the texts it saw, until stopped.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer(const wchar_t* caption, int buttonId) : caption_(caption), buttonId_(buttonId) {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~MessageBoxAnswerer() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
  }
  // The texts of the boxes answered so far.
  std::vector<std::wstring> Texts() {
    EnterCriticalSection(&lock_);
    std::vector<std::wstring> copy = texts_;
    LeaveCriticalSection(&lock_);
    return copy;
  }
  size_t Count() { return Texts().size(); }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<MessageBoxAnswerer*>(self)->Watch();
    return 0;
  }
  void Watch() {
    while (!stop_) {
      HWND box = WaitForDialog(caption_, 50);
      if (!box) continue;
      Sleep(30);  // let the box finish showing its controls
      const std::wstring text = MessageBoxText(box);
      EnterCriticalSection(&lock_);
      texts_.push_back(text);
      LeaveCriticalSection(&lock_);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId_, BN_CLICKED), 0);
      for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
    }
  }

  const wchar_t* caption_;
  int buttonId_;
  std::atomic<bool> stop_{false};
  HANDLE thread_ = nullptr;
  CRITICAL_SECTION lock_;
  std::vector<std::wstring> texts_;
};

}  // namespace box_watcher
