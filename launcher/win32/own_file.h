#pragma once
// Facts about the running program's own executable file.
#include <cstdint>
#include <optional>
#include <string>

namespace stubwright {

// The full path of the running program's file, from the loader rather than
// from parameter 0, which may be a bare name found through PATH.
std::string OwnPath();

// The file's size, or nothing when it cannot be opened or measured.
std::optional<uint64_t> FileSizeOf(const std::string& path);

// The size of the bare stub: where the last section of our own image ends in
// the file (the largest PointerToRawData + SizeOfRawData). The build fails
// when the linked stub has any bytes past that point, so every byte beyond it
// in a launcher is payload.
uint32_t StubSize();

}  // namespace stubwright
