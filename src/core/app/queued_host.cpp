#include "app/queued_host.h"

#include <chrono>
#include <exception>
#include <memory>

namespace korvane {

QueuedHost::QueuedHost() : uiThread_(std::this_thread::get_id()) {}

void QueuedHost::Synchronize(const std::function<void()>& fn) {
  if (OnUIThread()) {
    fn();
    return;
  }
  struct Call {
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;
    std::exception_ptr error;
  };
  auto call = std::make_shared<Call>();
  Post([call, &fn] {
    try {
      fn();
    } catch (...) {
      call->error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(call->mutex);
    call->done = true;
    call->done_cv.notify_all();
  });
  std::unique_lock<std::mutex> lock(call->mutex);
  call->done_cv.wait(lock, [&] { return call->done; });
  if (call->error) std::rethrow_exception(call->error);
}

void QueuedHost::Post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(fn));
  }
  queued_.notify_all();
}

int QueuedHost::RunPosted() {
  std::deque<std::function<void()>> pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending.swap(queue_);
  }
  for (auto& fn : pending) fn();
  return static_cast<int>(pending.size());
}

int QueuedHost::WaitAndRunPosted(int timeoutMs) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    queued_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !queue_.empty(); });
  }
  return RunPosted();
}

}  // namespace korvane
