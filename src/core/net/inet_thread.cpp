// The download thread; see inet_thread.h.
#include "net/inet_thread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "app/errors.h"
#include "app/host.h"
#include "app/queued_host.h"

namespace korvane {

TInetThread::TInetThread(Host& host, Step step) : host_(host), link_(std::make_shared<Link>()) {
  link_->step = std::move(step);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw Exception("Unable to create a pipe.");
  wakeRead_ = TSocket(fds[0]);
  wakeWrite_ = TSocket(fds[1]);
}

TInetThread::~TInetThread() { Terminate(); }

void TInetThread::Start() { thread_ = std::thread([this] { Execute(); }); }

void TInetThread::Terminate() {
  {
    std::lock_guard<std::mutex> lock(link_->mutex);
    link_->terminated = true;
  }
  link_->stepDone.notify_all();
  Wake();
  if (thread_.joinable()) thread_.join();
}

void TInetThread::SetWatchedSocket(int handle) {
  {
    std::lock_guard<std::mutex> lock(link_->mutex);
    link_->watched = handle;
  }
  Wake();
}

void TInetThread::Wake() {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeWrite_.Handle(), &byte, 1);
}

void TInetThread::Execute() {
  for (;;) {
    int watched;
    {
      std::lock_guard<std::mutex> lock(link_->mutex);
      if (link_->terminated) return;
      watched = link_->watched;
    }
    pollfd fds[2] = {{wakeRead_.Handle(), POLLIN, 0}, {watched, POLLIN, 0}};
    const int r = ::poll(fds, watched >= 0 ? 2 : 1, kPollIntervalMs);
    const int pollError = r < 0 ? errno : 0;
    {
      std::lock_guard<std::mutex> lock(link_->mutex);
      if (link_->terminated) return;
    }
    if (fds[0].revents != 0) {
      char drain[64];
      while (::read(wakeRead_.Handle(), drain, sizeof drain) > 0) {
      }
    }
    TInetEvent event = TInetEvent::Idle;
    if (r < 0 && pollError != EINTR) {
      event = TInetEvent::Error;
    } else if (r > 0 && watched >= 0 && fds[1].revents != 0) {
      event = (fds[1].revents & POLLNVAL) != 0 ? TInetEvent::Error : TInetEvent::Readable;
    } else if (fds[0].revents != 0) {
      continue;  // woken for a new socket: poll again before handing over
    }
    if (!RunStep(event)) return;
  }
}

bool TInetThread::RunStep(TInetEvent event) {
  struct Call {
    bool done = false;
    bool goOn = false;
  };
  auto call = std::make_shared<Call>();
  std::shared_ptr<Link> link = link_;
  host_.Post([link, call, event] {
    {
      std::lock_guard<std::mutex> lock(link->mutex);
      if (link->terminated) return;
    }
    // Termination happens on this thread too, so it cannot begin while the
    // step runs.
    bool goOn = false;
    try {
      goOn = link->step(event);
    } catch (...) {
      // A step handles its own errors; one that escapes ends the thread.
    }
    {
      std::lock_guard<std::mutex> lock(link->mutex);
      call->done = true;
      call->goOn = goOn;
    }
    link->stepDone.notify_all();
  });
  std::unique_lock<std::mutex> lock(link->mutex);
  link->stepDone.wait(lock, [&] { return call->done || link->terminated; });
  return call->done && call->goOn && !link->terminated;
}

void LetPendingMessagesRun(Host& host, int waitMs) {
  if (auto* queued = dynamic_cast<QueuedHost*>(&host)) {
    queued->WaitAndRunPosted(waitMs);
    host.ProcessMessages();
    return;
  }
  // A host with its own event loop: run it, then give the threads a moment.
  host.ProcessMessages();
  std::this_thread::sleep_for(std::chrono::milliseconds(std::min(waitMs, 10)));
}

}  // namespace korvane
