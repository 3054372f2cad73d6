#pragma once
// Checks for the Windows test programs: each failed check prints where and
// what, and Finish() prints the closing tally and gives the exit code.
#include <cstdio>
#include <string>

namespace wine_check {

inline int passed = 0;
inline int failed = 0;

inline void Report(bool ok, const std::string& what, const char* file, int line) {
  if (ok) {
    ++passed;
    return;
  }
  ++failed;
  std::printf("FAILED %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

template <typename A, typename B>
void CheckEqual(const A& actual, const B& expected, const char* actualText, const char* expectedText, const char* file,
                int line) {
  const bool ok = actual == expected;
  std::string what;
  if (!ok) {
    what = std::string(actualText) + " == " + expectedText + " (got " + std::to_string(actual) + ", want " +
           std::to_string(expected) + ")";
  }
  Report(ok, what, file, line);
}

// Prints a section title, so that a failure can be placed in the output.
inline void Section(const char* title) {
  std::printf("-- %s\n", title);
  std::fflush(stdout);
}

inline int Finish() {
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace wine_check

#define CHECK(condition) ::wine_check::Report(!!(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
  ::wine_check::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
