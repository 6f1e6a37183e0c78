#pragma once

// The one thread that runs the window's operations, one at a time.

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace lecdl {

class OperationWorker {
 public:
  OperationWorker();
  // Ends the thread once its job has returned. A job that is still running is left to finish on
  // its own (the thread is detached); whatever it uses must be kept alive by the job itself.
  ~OperationWorker();
  OperationWorker(const OperationWorker&) = delete;
  OperationWorker& operator=(const OperationWorker&) = delete;

  // Runs `job` on the worker thread; false, with nothing started, while a job runs.
  bool Start(std::function<void()> job);
  bool Busy() const;
  // True once no job runs; calls `pump` between short sleeps meanwhile (the GUI thread keeps
  // serving the job's calls). False when `timeout` passed first.
  bool WaitIdle(std::chrono::milliseconds timeout, const std::function<void()>& pump);

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace lecdl
