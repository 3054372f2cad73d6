// The PowerPoint stand-in: a window of PowerPoint's editing-window class with
// a sample add-in that uses Loomkeys.dll as add-ins in PowerPoint do. Run it
// as it is to try the library by hand; with --tour it shows itself: a second
// thread presses the sample's keys, opens the dialogs and prints what
// happened, then closes the program.
//
//   loomkeys_demo.exe [--tour] [--out FOLDER]
//
// FOLDER (default: the program's own) receives the saved shortcuts,
// LoomkeysDemo.keys, and the tour's screenshots.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "sample_addin.h"
#include "standin_windows.h"
#include "tour.h"
#include "transcript.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

struct Options {
  bool tour = false;
  std::wstring outputFolder = ProgramFolder();
};

Options ReadOptions() {
  Options options;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments[i];
    if (argument == L"--tour") options.tour = true;
    if (argument == L"--out" && i + 1 < count) options.outputFolder = arguments[++i];
  }
  LocalFree(arguments);
  return options;
}

}  // namespace

int main() {
  const Options options = ReadOptions();
  CreateDirectoryW(options.outputFolder.c_str(), nullptr);

  StandInWindows* windows = nullptr;
  SampleAddin addin([&windows](const std::wstring& line) {
    transcript::Line(line);
    if (windows) {
      windows->ShowEvent(line);
      windows->Refresh();
    }
  });
  StandInWindows standIn(addin);
  windows = &standIn;
  HWND frame = standIn.CreateFrame();
  if (!addin.Start(ProgramFolder(), options.outputFolder + L"\\LoomkeysDemo.keys")) {
    DestroyWindow(frame);
    return 2;
  }
  ShowWindow(frame, SW_SHOWNORMAL);
  SetForegroundWindow(frame);
  if (options.tour) StartTour({&standIn, &addin, options.outputFolder});

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  windows = nullptr;
  return options.tour ? WaitForTour() : 0;
}
