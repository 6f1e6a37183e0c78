// Lets answers that wait on purpose (stalls, trickles) end as soon as the
// server stops, so that stopping never waits out a fault.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace demo {

class StopSignal {
 public:
  void Raise() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      raised_ = true;
    }
    cv_.notify_all();
  }
  // Waits up to `d`; true when the signal was raised.
  bool WaitFor(std::chrono::milliseconds d) {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, d, [this] { return raised_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool raised_ = false;
};

}  // namespace demo
