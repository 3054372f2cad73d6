#include <windows.h>

#include "win32/file_handle.h"
#include "win32/own_file.h"
#include "win32/stubwright_actions.h"

namespace stubwright {
namespace {

// A write that stops short leaves a payload that does not fit the file, and
// such a launcher starts nothing.
void WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0)
      return;
    done += written;
  }
}

}  // namespace

void BuildLauncher(const std::string& ownPath, const std::string& fileName, const Payload& payload) {
  // Without a fresh copy, the payload would land inside whatever older file
  // of that name could still be opened, so a failed copy ends the build.
  if (!CopyFileA(ownPath.c_str(), fileName.c_str(), FALSE)) return;
  FileHandle file(
      CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  LARGE_INTEGER offset;
  offset.QuadPart = StubSize();
  if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) return;
  WriteAll(file.get(), EncodePayload(payload));
}

}  // namespace stubwright
