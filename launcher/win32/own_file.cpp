#include "win32/own_file.h"

#include <windows.h>

#include "win32/file_handle.h"

namespace stubwright {

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    // A full buffer means the path was cut short; try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::optional<uint64_t> FileSizeOf(const std::string& path) {
  // Others may read or even write the file meanwhile (another builder may be
  // copying it); only its size is wanted.
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
  return static_cast<uint64_t>(size.QuadPart);
}

uint32_t StubSize() {
  // The loader maps the headers with the image, so no file read is needed.
  const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  uint32_t end = 0;
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
    const uint32_t sectionEnd = section[i].PointerToRawData + section[i].SizeOfRawData;
    if (sectionEnd > end) end = sectionEnd;
  }
  return end;
}

}  // namespace stubwright
