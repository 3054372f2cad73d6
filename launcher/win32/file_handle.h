#pragma once
// Owns a Win32 handle and closes it when it goes out of scope.
#include <windows.h>

namespace stubwright {

class FileHandle {
 public:
  // Takes CreateFile's INVALID_HANDLE_VALUE and CreateFileMapping's null
  // alike as "no handle".
  explicit FileHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~FileHandle() {
    if (handle_) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace stubwright
