#include "platform/reentrant_lock.h"

#include <windows.h>

namespace loomkeys {

struct ReentrantLock::Impl {
  CRITICAL_SECTION section;
};

ReentrantLock::ReentrantLock() : impl_(std::make_unique<Impl>()) { InitializeCriticalSection(&impl_->section); }

ReentrantLock::~ReentrantLock() { DeleteCriticalSection(&impl_->section); }

void ReentrantLock::Enter() noexcept { EnterCriticalSection(&impl_->section); }
void ReentrantLock::Leave() noexcept { LeaveCriticalSection(&impl_->section); }

}  // namespace loomkeys
