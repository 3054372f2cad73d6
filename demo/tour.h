#pragma once
// The scripted tour: a second thread that uses the stand-in as a person
// would, with real key presses (SendInput), menu commands and the dialogs'
// controls, while the stand-in's own thread runs as usual. It prints a
// transcript of every step with its outcome, saves screenshots, and closes
// the stand-in at the end.
#include <string>

class SampleAddin;
class StandInWindows;

struct TourSetup {
  StandInWindows* windows;
  SampleAddin* addin;
  std::wstring outputFolder;  // screenshots go here
};

// Starts the tour's thread; WaitForTour gives its result: 0 when every step
// succeeded, 1 otherwise.
void StartTour(const TourSetup& setup);
int WaitForTour();
