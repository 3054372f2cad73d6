#pragma once
// Readable names of keys and active modes, for the window and the transcript.
#include <cstdint>
#include <string>

// "Ctrl+Shift+J" for the key with RegisterHotKey's modifier bits; "(none)"
// for virtual key 0.
std::wstring KeyName(uint16_t virtualKey, uint16_t shiftKeys);

// "slide design", "slide show", "both" or "never" for an active-mode set.
std::wstring ModeName(uint16_t activeMode);
