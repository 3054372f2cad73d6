#pragma once
// A re-entrant lock: a critical section on Windows, a recursive mutex in the
// native build. The thread that holds it may take it again.
#include <memory>

namespace loomkeys {

class ReentrantLock {
 public:
  ReentrantLock();
  ~ReentrantLock();
  ReentrantLock(const ReentrantLock&) = delete;
  ReentrantLock& operator=(const ReentrantLock&) = delete;

  void Enter() noexcept;
  void Leave() noexcept;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Holds a ReentrantLock for one scope, so that every path out releases it.
class LockHold {
 public:
  explicit LockHold(ReentrantLock& lock) noexcept : lock_(lock) { lock_.Enter(); }
  ~LockHold() { lock_.Leave(); }
  LockHold(const LockHold&) = delete;
  LockHold& operator=(const LockHold&) = delete;

 private:
  ReentrantLock& lock_;
};

}  // namespace loomkeys
