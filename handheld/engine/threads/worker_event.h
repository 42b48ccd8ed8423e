// An auto-reset event between threads: set wakes one waiter, or the next
// one to wait when none is waiting yet, so that no wake-up is lost.
#ifndef HANDHELD_ENGINE_THREADS_WORKER_EVENT_H
#define HANDHELD_ENGINE_THREADS_WORKER_EVENT_H

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

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

// A worker thread that sleeps on its event. start makes the thread once;
// stop raises quit, wakes it and waits for it to end.
class eventThread {
 public:
  workerEvent event;
  std::atomic<bool> quit{false};

  // True when the thread runs (already, or now); false when it cannot be made.
  bool start(void (*body)());
  // Does nothing when no thread runs. Otherwise before_stop (when given) runs
  // first, under the start and stop lock.
  void stop(void (*before_stop)() = nullptr);

 private:
  std::mutex lock_;
  std::thread thread_;
};

#endif
