// TInetThread: the background thread of one download.
//
// The thread only waits: it polls the socket it watches and, after every
// arrival of data and at least every kPollIntervalMs, hands one step to the
// user-interface thread and waits until that step has run. The step does all
// the work (reading the socket, parsing, writing the file, telling the
// frame), so the download's state is only ever touched by the user-interface
// thread. The step's result says whether the thread goes on.
//
// The hand-over is the host's Synchronize (run on the user-interface thread
// and wait) built from Host::Post, so that it can be abandoned: Terminate
// wakes the thread even while it waits for a step, and a step that was posted
// but has not run yet is dropped when it comes up. Destroying a download on
// the user-interface thread therefore never waits for that thread itself.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "net/socket.h"

namespace korvane {

class Host;

// Why the thread hands a step over.
enum class TInetEvent {
  Idle,      // nothing arrived within the poll interval
  Readable,  // the watched socket has data or was closed
  Error,     // polling the socket failed
};

class TInetThread {
 public:
  // The longest the thread waits before it hands over an Idle step, which
  // lets the step notice a stop request.
  static constexpr int kPollIntervalMs = 100;

  // A step runs on the user-interface thread; it returns false to end the
  // thread.
  using Step = std::function<bool(TInetEvent)>;

  // Creates the thread object without starting it. Throws Exception when
  // the wake-up pipe cannot be made.
  TInetThread(Host& host, Step step);
  // Terminate().
  ~TInetThread();
  TInetThread(const TInetThread&) = delete;
  TInetThread& operator=(const TInetThread&) = delete;

  // Starts the thread. User-interface thread only; at most once.
  void Start();
  // Ends the thread and waits for it; a step it handed over and that has
  // not run yet will not run. User-interface thread only (not from inside
  // a step); does not let pending messages run.
  void Terminate();

  // The socket the thread polls (-1: none). Guarded by the thread's own
  // lock; any thread.
  void SetWatchedSocket(int handle);

 private:
  // What the thread and the posted steps share; outlives the thread object
  // while a posted step is still queued.
  struct Link {
    std::mutex mutex;
    std::condition_variable stepDone;
    bool terminated = false;
    int watched = -1;
    Step step;
  };

  void Execute();
  // Hands one step to the user-interface thread and waits for it; false
  // when the thread must end.
  bool RunStep(TInetEvent event);
  void Wake();

  Host& host_;
  std::shared_ptr<Link> link_;
  TSocket wakeRead_;
  TSocket wakeWrite_;
  std::thread thread_;
};

// Lets pending messages run once, after waiting up to waitMs for a step that
// a download thread hands over. User-interface thread only; the caller's
// state may change under it.
void LetPendingMessagesRun(Host& host, int waitMs);

}  // namespace korvane
