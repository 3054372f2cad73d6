#pragma once
// The active modes that the foreground window decides (none, slide design,
// slide show). A shortcut's or a command's active mode is a bit set over the
// last two; kEveryMode wants every mode.
#include <cstdint>

namespace loomkeys {

constexpr uint16_t kModeNone = 0;
constexpr uint16_t kModeSlideDesign = 1;
constexpr uint16_t kModeSlideShow = 2;
constexpr uint16_t kEveryMode = 0xFFFF;

}  // namespace loomkeys
