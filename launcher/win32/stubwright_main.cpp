// Stubwright: run as the bare stub it builds launchers; run as a launcher
// (a copy with a payload appended) it starts the payload's command through
// the shell. It has no window of its own and always exits with 0.
#include <windows.h>

#include "core/command_line.h"
#include "core/start_mode.h"
#include "win32/own_file.h"
#include "win32/stubwright_actions.h"

using namespace stubwright;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string ownPath = OwnPath();
  // Our own splitting rule, not the C runtime's argv.
  const ArgumentList parameters = SplitCommandLine(GetCommandLineA());
  switch (ChooseStartMode(FileSizeOf(ownPath), StubSize(), parameters)) {
    case StartMode::kLaunch: {
      const ArgumentList ownArguments(parameters.empty() ? parameters.end() : parameters.begin() + 1, parameters.end());
      LaunchPayload(ownPath, ownArguments);
      break;
    }
    case StartMode::kBuild:
      BuildLauncher(ownPath, parameters[2],
                    Payload{parameters[3], parameters[4], ArgumentList(parameters.begin() + 5, parameters.end())});
      break;
    case StartMode::kUsage:
      ShowUsage();
      break;
  }
  return 0;
}
