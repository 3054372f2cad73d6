// Drives Stubwright.exe as a user and a shell would: the x86_64 build of the
// same source as the 32-bit deliverable, found beside this program together
// with stubwright_probe.exe, which stands for the command that a launcher
// starts and records the command line it was given. Every run happens inside
// a job object, so that the processes a run starts can be counted.
#include <windows.h>

#include <string>
#include <vector>

#include "process_dialog_watcher.h"
#include "wine_check.h"

namespace {

// CHECK for texts, showing both sides when they differ.
void CheckText(const std::string& actual, const std::string& expected, const char* what, const char* file, int line) {
  wine_check::Report(actual == expected, std::string(what) + " (got [" + actual + "], want [" + expected + "])", file,
                     line);
}
#define CHECK_TEXT(actual, expected) CheckText((actual), (expected), #actual, __FILE__, __LINE__)

constexpr DWORD kRunTimeoutMs = process_dialog::kWaitMs;
constexpr char kUsageCaption[] = "Stubwright - Options";
constexpr char kUsageText[] = "Build Launcher:\r\n/b  <FileName>  <Verb>  <Command>  <Arguments to command>";

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The payload layout, written out independently of the program's encoder:
// 32-bit little-endian lengths and count, strings without terminators.
std::string Field(uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
          static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
}
std::string Counted(const std::string& text) { return Field(static_cast<uint32_t>(text.size())) + text; }
std::string Payload(const std::string& verb, const std::string& command, const std::vector<std::string>& arguments) {
  std::string bytes = Counted(verb) + Counted(command) + Field(static_cast<uint32_t>(arguments.size()));
  for (const std::string& argument : arguments) bytes += Counted(argument);
  return bytes;
}

struct RunResult {
  bool exited = false;
  DWORD exitCode = 0;
  DWORD processesStarted = 0;  // the run's own process included
  process_dialog::BoxSeen box;
};

// Starts commandLine in a job of its own and waits for it to end; with
// answerBox, a watcher thread answers the first dialog the process shows.
// program, when given, is the file to run whatever the command line says.
RunResult Run(const std::string& commandLine, bool answerBox, const char* program = nullptr) {
  RunResult result;
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  if (!CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &process)) {
    std::printf("cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    CloseHandle(job);
    return result;
  }
  AssignProcessToJobObject(job, process.hProcess);
  result.box.processId = process.dwProcessId;
  HANDLE watcher = answerBox ? CreateThread(nullptr, 0, process_dialog::AnswerBox, &result.box, 0, nullptr) : nullptr;
  ResumeThread(process.hThread);
  result.exited = WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0;
  if (!result.exited) TerminateProcess(process.hProcess, 99);
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr))
    result.processesStarted = accounting.TotalProcesses;
  if (watcher) {
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(job);
  return result;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

class StubwrightTest {
 public:
  StubwrightTest() {
    const std::string folder = OwnFolder();
    stub_ = folder + "Stubwright.exe";
    probe_ = folder + "stubwright_probe.exe";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    work_ = std::string(temp) + "stubwright-test-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(work_.c_str(), nullptr);
    probeOutput_ = work_ + "probe.txt";
    SetEnvironmentVariableA("STUBWRIGHT_PROBE_OUTPUT", probeOutput_.c_str());
    stubBytes_ = ReadWholeFile(stub_);
    // The first program on a Wine desktop starts the desktop process as its
    // own child, which would then count as a process that a run started.
    // A hidden window of ours starts it now, outside every job, and keeps it
    // alive until the test ends.
    desktopKeeper_ = CreateWindowA("Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  }
  ~StubwrightTest() {
    DestroyWindow(desktopKeeper_);
    for (const std::string& file : created_) DeleteFileA(file.c_str());
    RemoveDirectoryA(work_.c_str());
  }

  const std::string& Stub() const { return stub_; }
  const std::string& Probe() const { return probe_; }
  const std::string& StubBytes() const { return stubBytes_; }

  // A file in the work folder, removed at the end.
  std::string WorkFile(const std::string& name) {
    created_.push_back(work_ + name);
    return work_ + name;
  }

  void ExpectUsageBox(const std::string& arguments) {
    const RunResult run = Run(Quoted(stub_) + arguments, true);
    CHECK(run.exited);
    CHECK_EQ(run.exitCode, 0ul);
    CHECK(run.box.found);
    CHECK_TEXT(run.box.caption, kUsageCaption);
    CHECK_TEXT(run.box.text, kUsageText);
    CHECK(run.box.buttonIds == std::vector<int>{IDOK});
    CHECK(run.box.hasIcon);
    CHECK_TEXT(run.box.icon, "information");
    CHECK_EQ(run.processesStarted, 1ul);
  }

  // Runs the builder; it shows nothing, starts nothing and exits with 0.
  void Build(const std::string& arguments) {
    const RunResult run = Run(Quoted(stub_) + arguments, false);
    CHECK(run.exited);
    CHECK_EQ(run.exitCode, 0ul);
    CHECK_EQ(run.processesStarted, 1ul);
  }

  // Runs a launcher, named by its quoted path, and returns what the probe
  // recorded after its own name, or "<nothing>" when nothing was started.
  std::string Launch(const std::string& launcher, const std::string& arguments) {
    return LaunchWith(launcher, Quoted(launcher) + arguments);
  }

  // The same, with a command line of the caller's own making.
  std::string LaunchWith(const std::string& launcher, const std::string& commandLine) {
    DeleteFileA(probeOutput_.c_str());
    const RunResult run = Run(commandLine, false, launcher.c_str());
    CHECK(run.exited);
    CHECK_EQ(run.exitCode, 0ul);
    if (run.processesStarted < 2) return "<nothing>";
    CHECK_EQ(run.processesStarted, 2ul);
    // The probe was created before the launcher's shell call returned; give
    // it the time it needs to write.
    for (DWORD waited = 0; !FileExists(probeOutput_) && waited < kRunTimeoutMs; waited += 20) Sleep(20);
    const std::string recorded = ReadWholeFile(probeOutput_);
    DeleteFileA(probeOutput_.c_str());
    return ParametersOf(recorded);
  }

 private:
  // Whatever follows the program's name, quoted or not, on the command line
  // that the shell built: a space and the parameters, or nothing at all.
  static std::string ParametersOf(const std::string& commandLine) {
    const size_t end =
        commandLine.empty() || commandLine[0] != '"' ? commandLine.find(' ') : commandLine.find('"', 1) + 1;
    return end == std::string::npos || end == 0 ? "" : commandLine.substr(end);
  }

  std::string stub_;
  std::string probe_;
  std::string work_;
  std::string probeOutput_;
  std::string stubBytes_;
  std::vector<std::string> created_;
  HWND desktopKeeper_ = nullptr;
};

}  // namespace

int main() {
  StubwrightTest test;
  CHECK(test.StubBytes().size() > 0);

  wine_check::Section("the bare stub shows the usage box for anything but a build command");
  const std::string notBuilt = test.WorkFile("not-built.exe");
  for (const std::string& arguments : {std::string(""), " /b " + notBuilt + " open",
                                       " /x " + notBuilt + " open cmd.exe", " /bb " + notBuilt + " open cmd.exe"})
    test.ExpectUsageBox(arguments);
  CHECK(!FileExists(notBuilt));

  wine_check::Section("a built launcher is the stub followed by exactly the payload");
  const std::string withArguments = test.WorkFile("with-arguments.exe");
  test.Build(" /b " + withArguments + " open " + test.Probe() + " s1 \"'two words'\"");
  const std::string expected = test.StubBytes() + Payload("open", test.Probe(), {"s1", "'two words'"});
  CHECK(ReadWholeFile(withArguments) == expected);

  wine_check::Section("/B builds like /b");
  const std::string capital = test.WorkFile("capital.exe");
  test.Build(" /B " + capital + " open " + test.Probe() + " s1 \"'two words'\"");
  CHECK(ReadWholeFile(capital) == expected);

  wine_check::Section("building over an existing file replaces it");
  const std::string noArguments = test.WorkFile("no-arguments.exe");
  WriteWholeFile(noArguments, std::string(100000, 'Z'));
  test.Build(" /b " + noArguments + " open " + test.Probe());
  CHECK(ReadWholeFile(noArguments) == test.StubBytes() + Payload("open", test.Probe(), {}));

  wine_check::Section("a launcher passes its stored arguments, then its own, through the shell");
  CHECK_TEXT(test.Launch(withArguments, ""), " s1 \"two words\"");
  CHECK_TEXT(test.Launch(withArguments, " o1 'o2'"), " s1 \"two words\" o1 \"o2\"");
  CHECK_TEXT(test.Launch(withArguments, " \"'o 3'\""), " s1 \"two words\" \"o 3\"");

  wine_check::Section("a launcher finds its own file whatever name its command line gives it");
  CHECK_TEXT(test.LaunchWith(withArguments, "no-such-name.exe o1"), " s1 \"two words\" o1");

  wine_check::Section("a launcher without stored or own arguments passes no parameters");
  CHECK_TEXT(test.Launch(noArguments, ""), "");

  wine_check::Section("a launcher given a build command passes it on instead of building");
  const std::string neverBuilt = test.WorkFile("never-built.exe");
  CHECK_TEXT(test.Launch(noArguments, " /b " + neverBuilt + " open cmd.exe"), " /b " + neverBuilt + " open cmd.exe");
  CHECK(!FileExists(neverBuilt));

  wine_check::Section("a payload that does not fit launches nothing and exits with 0");
  const std::string good = Counted("open") + Counted(test.Probe());
  const std::string damaged[] = {
      Field(0xFFFFFFFF) + "open" + Counted(test.Probe()) + Field(0),
      Field(0x7FFFFFFF) + "open",
      good + Field(0xFFFFFFFF),
      good + Field(0x7FFFFFFF) + Counted("a"),
      good + Field(1) + Field(0x10000000) + "a",
  };
  const std::string damagedLauncher = test.WorkFile("damaged.exe");
  for (const std::string& payload : damaged) {
    WriteWholeFile(damagedLauncher, test.StubBytes() + payload);
    CHECK_TEXT(test.Launch(damagedLauncher, " x"), "<nothing>");
  }

  wine_check::Section("a command the shell cannot start is reported by the shell; the launcher exits with 0");
  const std::string missingCommand = test.WorkFile("missing-command.exe");
  test.Build(" /b " + missingCommand + " open " + test.WorkFile("missing.exe"));
  const RunResult run = Run(Quoted(missingCommand), true);
  CHECK(run.exited);
  CHECK_EQ(run.exitCode, 0ul);
  CHECK(run.box.found);
  CHECK_EQ(run.processesStarted, 1ul);

  return wine_check::Finish();
}
