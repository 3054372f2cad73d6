#pragma once
// Saves what the screen shows of a window (with whatever lies on top of it)
// as a 24-bit BMP file.
#include <windows.h>

#include <string>

bool SaveScreenshot(HWND window, const std::wstring& path);
