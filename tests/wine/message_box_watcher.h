#pragma once
// Answers a message box with a given caption from a second thread, as a user
// would: waits for it to appear, keeps its text and presses OK.
//
// A box blocks the thread that shows it until it is answered, so once the
// call under test has returned, Finish() tells reliably whether a box came.
#include <windows.h>

#include <string>

class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(const wchar_t* caption) : caption_(caption) {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr);
  }
  ~MessageBoxWatcher() {
    Finish();
    CloseHandle(stop_);
  }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Stops watching; true when a box was found and answered.
  bool Finish() {
    if (thread_) {
      SetEvent(stop_);
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
      thread_ = nullptr;
    }
    return found_;
  }
  const std::wstring& Text() const { return text_; }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<MessageBoxWatcher*>(self)->Watch();
    return 0;
  }

  void Watch() {
    while (WaitForSingleObject(stop_, 10) == WAIT_TIMEOUT) {
      HWND box = FindWindowW(L"#32770", caption_);
      // The window exists before its controls do.
      if (!box || !IsWindowVisible(box)) continue;
      wchar_t text[512] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's text is the static 0xFFFF
      text_ = text;
      found_ = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
  }

  const wchar_t* caption_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  bool found_ = false;
  std::wstring text_;
};
