#pragma once
// Saves what the screen shows of a window (with whatever lies on top of it)
// as a 24-bit BMP file.
#include <windows.h>

#include <cstdio>
#include <string>

namespace screenshot {

inline bool Save(HWND window, const std::wstring& path) {
  RECT place;
  if (!GetWindowRect(window, &place)) return false;
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up rows, as a BMP file stores them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // From the screen, not from the window: dialogs on top of it are part
    // of what the user sees.
    copied = BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, previous);
  }
  bool written = false;
  if (copied) {
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
      written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                std::fwrite(bits, imageBytes, 1, file) == 1;
      written = std::fclose(file) == 0 && written;
    }
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace screenshot
