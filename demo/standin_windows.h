#pragma once
// The PowerPoint stand-in's windows: the editing window (class
// "PPTFrameClass", the class of PowerPoint's own) with the menu items an
// add-in adds, and the slide show (class "screenClass"). Loomkeys.dll tells
// slide design from slide show by these classes, so its mode filter works
// here as it does in PowerPoint.
#include <windows.h>

#include <atomic>
#include <string>

class SampleAddin;

enum MenuCommand : UINT {
  kMenuSaveShortcuts = 101,
  kMenuReloadShortcuts,
  kMenuExit,
  kMenuStartSlideShow,
  kMenuCustomize,
  kMenuAbout,
};

// Keys that reached a window as ordinary key presses (WM_KEYDOWN), because
// no shortcut was live for them. Modifier keys are not counted.
struct KeyArrivals {
  std::atomic<int> count{0};
  std::atomic<UINT> lastKey{0};
};

class StandInWindows {
 public:
  explicit StandInWindows(SampleAddin& addin);

  HWND CreateFrame();
  // Adds a line to the editing window's list of events and shows it in the
  // slide show too, if one runs. Call on the windows' thread.
  void ShowEvent(const std::wstring& line);
  // The command table on the slide changes when the shortcuts do.
  void Refresh();

  HWND Frame() const { return frame_; }
  HWND SlideShow() const { return slideShow_; }
  KeyArrivals& FrameKeys() { return frameKeys_; }
  KeyArrivals& SlideShowKeys() { return slideShowKeys_; }

 private:
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SlideShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnMenu(UINT command);
  void StartSlideShow();
  void PaintSlide(HDC dc, const RECT& area);
  void PaintSlideShow(HDC dc, const RECT& area);
  void RecordKey(KeyArrivals& keys, WPARAM key, const wchar_t* where);

  SampleAddin& addin_;
  HWND frame_ = nullptr;
  HWND events_ = nullptr;
  HWND slideShow_ = nullptr;
  HFONT font_ = nullptr;
  HFONT bigFont_ = nullptr;
  std::wstring lastEvent_;
  KeyArrivals frameKeys_;
  KeyArrivals slideShowKeys_;
};
