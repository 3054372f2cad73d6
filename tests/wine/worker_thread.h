#pragma once
// Work done on another thread of the host, as a worker thread of an add-in
// would call the library.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace worker_thread {

// Runs work on a new thread and waits for it. A worker that has not finished
// within `milliseconds` is stuck (a lock left held, a deadlock): the program
// ends at once with exit code 3, since the worker still uses `work`.
inline void Run(const std::function<void()>& work, DWORD milliseconds = 10000) {
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID context) -> DWORD {
        (*static_cast<const std::function<void()>*>(context))();
        return 0;
      },
      const_cast<std::function<void()>*>(&work), 0, nullptr);
  if (!thread || WaitForSingleObject(thread, milliseconds) != WAIT_OBJECT_0) {
    std::printf("FAILED: a worker thread did not finish within %lu ms\n", static_cast<unsigned long>(milliseconds));
    std::fflush(stdout);
    std::exit(3);
  }
  CloseHandle(thread);
}

}  // namespace worker_thread
