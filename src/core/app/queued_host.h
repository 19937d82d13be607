// A host base that marshals calls from other threads onto the thread that
// created it (the user-interface thread): Synchronize queues the call and
// waits, Post queues it; RunPosted runs what is queued. The terminal host and
// the scripted test host both build on it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "app/host.h"

namespace korvane {

class QueuedHost : public Host {
 public:
  QueuedHost();

  // Runs fn at once on the user-interface thread; from another thread queues
  // it and waits until the user-interface thread has run it.
  void Synchronize(const std::function<void()>& fn) override;
  void Post(std::function<void()> fn) override;

  // Runs every queued call; returns how many ran. User-interface thread only.
  int RunPosted();
  // Waits up to timeoutMs for a queued call, then runs what is queued.
  // User-interface thread only.
  int WaitAndRunPosted(int timeoutMs);

  bool OnUIThread() const { return std::this_thread::get_id() == uiThread_; }

 private:
  std::thread::id uiThread_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace korvane
