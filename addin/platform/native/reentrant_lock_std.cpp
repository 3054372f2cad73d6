#include "platform/reentrant_lock.h"

#include <mutex>

namespace loomkeys {

struct ReentrantLock::Impl {
  std::recursive_mutex mutex;
};

ReentrantLock::ReentrantLock() : impl_(std::make_unique<Impl>()) {}
ReentrantLock::~ReentrantLock() = default;

void ReentrantLock::Enter() noexcept { impl_->mutex.lock(); }
void ReentrantLock::Leave() noexcept { impl_->mutex.unlock(); }

}  // namespace loomkeys
