#include "standin_windows.h"

#include "key_names.h"
#include "sample_addin.h"

namespace {

constexpr int kEventListHeight = 170;

HMENU BuildMenu() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kMenuSaveShortcuts, L"&Save Shortcuts");
  AppendMenuW(file, MF_STRING, kMenuReloadShortcuts, L"&Reload Saved Shortcuts");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kMenuExit, L"E&xit");
  HMENU show = CreatePopupMenu();
  AppendMenuW(show, MF_STRING, kMenuStartSlideShow, L"&Start Slide Show");
  HMENU addin = CreatePopupMenu();
  AppendMenuW(addin, MF_STRING, kMenuCustomize, L"&Customize Shortcuts...");
  AppendMenuW(addin, MF_STRING, kMenuAbout, L"&About Loomkeys...");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(show), L"Slide &Show");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(addin), L"&Add-ins");
  return bar;
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = background;
  RegisterClassW(&windowClass);
}

StandInWindows* Self(HWND window) {
  return reinterpret_cast<StandInWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Attach(HWND window, LPARAM createParameters) {
  auto* create = reinterpret_cast<CREATESTRUCTW*>(createParameters);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

HFONT MakeFont(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

// Answers WM_PAINT with one of the stand-in's painters over the client area.
void PaintClientArea(HWND window, StandInWindows* self, void (StandInWindows::*painter)(HDC, const RECT&)) {
  PAINTSTRUCT painting;
  HDC dc = BeginPaint(window, &painting);
  RECT client;
  GetClientRect(window, &client);
  if (self) (self->*painter)(dc, client);
  EndPaint(window, &painting);
}

void TextAt(HDC dc, int x, int y, const std::wstring& text) {
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

StandInWindows::StandInWindows(SampleAddin& addin) : addin_(addin) {
  RegisterWindowClass(L"PPTFrameClass", FrameProc, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
  RegisterWindowClass(L"screenClass", SlideShowProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  font_ = MakeFont(-13, FW_NORMAL);
  bigFont_ = MakeFont(-28, FW_BOLD);
}

HWND StandInWindows::CreateFrame() {
  frame_ = CreateWindowW(L"PPTFrameClass", L"Presentation1 - PowerPoint (Loomkeys stand-in)",
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30, 820, 600, nullptr, BuildMenu(),
                         GetModuleHandleW(nullptr), this);
  RECT client;
  GetClientRect(frame_, &client);
  events_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0,
                            client.bottom - kEventListHeight, client.right, kEventListHeight, frame_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SendMessageW(events_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return frame_;
}

void StandInWindows::ShowEvent(const std::wstring& line) {
  lastEvent_ = line;
  if (events_) {
    const LRESULT index = SendMessageW(events_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(events_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  }
  if (slideShow_) InvalidateRect(slideShow_, nullptr, TRUE);
}

void StandInWindows::Refresh() {
  if (frame_) InvalidateRect(frame_, nullptr, TRUE);
}

void StandInWindows::RecordKey(KeyArrivals& keys, WPARAM key, const wchar_t* where) {
  if (key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU) return;
  uint16_t shiftKeys = 0;
  if (GetKeyState(VK_CONTROL) < 0) shiftKeys |= LOOMKEYS_MOD_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) shiftKeys |= LOOMKEYS_MOD_SHIFT;
  if (GetKeyState(VK_MENU) < 0) shiftKeys |= LOOMKEYS_MOD_ALT;
  ShowEvent(KeyName(static_cast<uint16_t>(key), shiftKeys) + L" reached the " + where +
            L" as an ordinary key press: no shortcut is live for it here");
  keys.lastKey = static_cast<UINT>(key);
  ++keys.count;
}

void StandInWindows::OnMenu(UINT command) {
  switch (command) {
    case kMenuSaveShortcuts:
      addin_.SaveShortcuts();
      break;
    case kMenuReloadShortcuts:
      addin_.ReloadShortcuts();
      break;
    case kMenuExit:
      PostMessageW(frame_, WM_CLOSE, 0, 0);
      break;
    case kMenuStartSlideShow:
      StartSlideShow();
      break;
    case kMenuCustomize:
      addin_.ShowCustomizeDialog();
      break;
    case kMenuAbout:
      addin_.ShowAboutBox();
      break;
  }
  Refresh();
}

void StandInWindows::StartSlideShow() {
  if (slideShow_) return;
  slideShow_ = CreateWindowExW(WS_EX_TOPMOST, L"screenClass", L"PowerPoint Slide Show - Presentation1",
                               WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr), this);
  SetForegroundWindow(slideShow_);
  SetFocus(slideShow_);
  ShowEvent(L"Slide show started: the slide show's shortcuts are live now");
}

void StandInWindows::PaintSlide(HDC dc, const RECT& area) {
  RECT slide = {area.left + 30, area.top + 20, area.right - 30, area.bottom - kEventListHeight - 20};
  FillRect(dc, &slide, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FrameRect(dc, &slide, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ previous = SelectObject(dc, bigFont_);
  TextAt(dc, slide.left + 24, slide.top + 18, L"A sample add-in's shortcuts");
  SelectObject(dc, font_);
  int y = slide.top + 70;
  TextAt(dc, slide.left + 24, y, L"Command");
  TextAt(dc, slide.left + 300, y, L"Key");
  TextAt(dc, slide.left + 440, y, L"Active during");
  TextAt(dc, slide.left + 560, y, L"Fired");
  y += 24;
  for (size_t i = 0; i < kSampleCommandCount; ++i) {
    const SampleCommand& command = kSampleCommands[i];
    const SampleAddin::Assignment now = addin_.AssignmentOf(command);
    TextAt(dc, slide.left + 24, y, std::wstring(command.category) + L" > " + command.name);
    TextAt(dc, slide.left + 300, y, KeyName(now.virtualKey, now.shiftKeys));
    TextAt(dc, slide.left + 440, y, now.assigned ? ModeName(now.activeMode) : L"");
    TextAt(dc, slide.left + 560, y, std::to_wstring(addin_.FiredCount(i)) + L" times");
    y += 22;
  }
  TextAt(dc, slide.left + 24, y + 16,
         L"Add-ins > Customize Shortcuts... changes the keys. Slide Show > Start Slide Show shows mode filtering.");
  SelectObject(dc, previous);
}

void StandInWindows::PaintSlideShow(HDC dc, const RECT& area) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HGDIOBJ previous = SelectObject(dc, bigFont_);
  TextAt(dc, area.left + 60, area.top + 60, L"Slide show (window class screenClass)");
  SelectObject(dc, font_);
  int y = area.top + 120;
  for (const SampleCommand& command : kSampleCommands) {
    const SampleAddin::Assignment now = addin_.AssignmentOf(command);
    if (!now.assigned) continue;
    const bool live = now.activeMode & LOOMKEYS_MODE_SLIDE_SHOW;
    TextAt(dc, area.left + 60, y,
           KeyName(now.virtualKey, now.shiftKeys) + L"  " + command.name +
               (live ? L"  (live here)" : L"  (slide design only)"));
    y += 22;
  }
  TextAt(dc, area.left + 60, y + 10, L"Esc ends the show.");
  SetTextColor(dc, RGB(255, 220, 90));
  TextAt(dc, area.left + 60, y + 50, lastEvent_);
  SelectObject(dc, previous);
}

LRESULT CALLBACK StandInWindows::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) Attach(window, lParam);
  StandInWindows* self = Self(window);
  switch (message) {
    case WM_COMMAND:
      if (self && lParam == 0) self->OnMenu(LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      if (self) self->RecordKey(self->frameKeys_, wParam, L"editing window");
      return 0;
    case WM_SIZE:
      if (self && self->events_)
        MoveWindow(self->events_, 0, HIWORD(lParam) - kEventListHeight, LOWORD(lParam), kEventListHeight, TRUE);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(window);  // keys go to the frame, not to the list
      return 0;
    case WM_PAINT:
      PaintClientArea(window, self, &StandInWindows::PaintSlide);
      return 0;
    case WM_CLOSE:
      if (self) self->addin_.Stop();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (self) self->events_ = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK StandInWindows::SlideShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) Attach(window, lParam);
  StandInWindows* self = Self(window);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
      } else if (self) {
        self->RecordKey(self->slideShowKeys_, wParam, L"slide show");
      }
      return 0;
    case WM_PAINT:
      PaintClientArea(window, self, &StandInWindows::PaintSlideShow);
      return 0;
    case WM_DESTROY:
      if (self) {
        self->slideShow_ = nullptr;
        self->ShowEvent(L"Slide show ended: back to slide design");
        SetForegroundWindow(self->frame_);
        SetFocus(self->frame_);
      }
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
