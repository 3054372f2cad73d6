// Stands for the command a launcher starts: records its own command line,
// byte for byte, in the file that STUBWRIGHT_PROBE_OUTPUT names. It writes a
// side file first and renames it, so that a reader never sees half a line.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char output[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("STUBWRIGHT_PROBE_OUTPUT", output, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::string partial = std::string(output) + ".part";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* commandLine = GetCommandLineA();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, commandLine, lstrlenA(commandLine), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExA(partial.c_str(), output, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
