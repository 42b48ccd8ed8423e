// An auto-reset event between threads: set wakes one waiter, or the next
// one to wait when none is waiting yet, so that no wake-up is lost.
#ifndef WORKER_EVENT_H
#define WORKER_EVENT_H

#include <condition_variable>
#include <mutex>

class workerEvent {
 public:
  void set();
  // Waits until the event is set (and resets it) or, with timeout_ms >= 0,
  // at most that many real milliseconds. True when it was set.
  bool wait(int timeout_ms = -1);

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

#endif
