#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <optional>
#include <string_view>

#include "core/parameter_text.h"
#include "win32/file_handle.h"
#include "win32/own_file.h"
#include "win32/stubwright_actions.h"

namespace stubwright {
namespace {

#ifndef _WIN64
// cbSize is the structure's own size; in the 32-bit deliverable that is 60.
static_assert(sizeof(SHELLEXECUTEINFOA) == 60);
#endif

// Maps the own file read-only and decodes the bytes after the stub. Mapping
// instead of reading means no buffer at all, so neither the file's size nor
// any length inside it decides an allocation; the decoder checks every length
// against the mapped bytes.
std::optional<Payload> ReadOwnPayload(const std::string& ownPath) {
  FileHandle file(CreateFileA(ownPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
  const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
  const uint32_t stubSize = StubSize();
  if (fileSize <= stubSize || fileSize > SIZE_MAX) return std::nullopt;
  // The mapping's size is the size just measured: should the file shrink
  // meanwhile, the mapping fails instead of leaving a view shorter than that.
  FileHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, size.HighPart, size.LowPart, nullptr));
  if (!mapping) return std::nullopt;
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(fileSize));
  if (!view) return std::nullopt;
  std::optional<Payload> payload = DecodePayload(
      std::string_view(static_cast<const char*>(view) + stubSize, static_cast<size_t>(fileSize - stubSize)));
  UnmapViewOfFile(view);
  return payload;
}

}  // namespace

void LaunchPayload(const std::string& ownPath, const ArgumentList& ownArguments) {
  // A payload that does not fit the file launches nothing.
  const std::optional<Payload> payload = ReadOwnPayload(ownPath);
  if (!payload) return;
  const std::string parameters = BuildParameterText(payload->arguments, ownArguments);

  // The shell may hand the verb to an extension that needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  // The process ends right after the call, so the shell must finish its work
  // (DDE conversations included) before returning: SEE_MASK_FLAG_DDEWAIT.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
  info.hwnd = nullptr;
  info.lpVerb = payload->verb.c_str();  // empty, not null: the default verb
  info.lpFile = payload->command.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  // Not checked: without SEE_MASK_FLAG_NO_UI the shell reports its own errors.
  ShellExecuteExA(&info);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace stubwright
