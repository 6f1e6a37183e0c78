#include "ui/operation_worker.h"

#include <condition_variable>
#include <mutex>

namespace lecdl {

struct OperationWorker::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::function<void()> job;
  bool busy = false;
  bool quit = false;
};

OperationWorker::OperationWorker() : state_(std::make_shared<State>()) {
  thread_ = std::thread([state = state_] {
    std::unique_lock lock(state->mutex);
    for (;;) {
      state->changed.wait(lock, [&] { return state->quit || state->job; });
      if (!state->job) return;
      std::function<void()> job = std::move(state->job);
      state->job = nullptr;
      lock.unlock();
      job();
      job = nullptr;  // what the job holds goes before the worker reports idle
      lock.lock();
      state->busy = false;
      state->changed.notify_all();
    }
  });
}

OperationWorker::~OperationWorker() {
  bool busy = false;
  {
    std::lock_guard lock(state_->mutex);
    state_->quit = true;
    busy = state_->busy;
  }
  state_->changed.notify_all();
  if (busy) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool OperationWorker::Start(std::function<void()> job) {
  {
    std::lock_guard lock(state_->mutex);
    if (state_->busy || state_->quit) return false;
    state_->busy = true;
    state_->job = std::move(job);
  }
  state_->changed.notify_all();
  return true;
}

bool OperationWorker::Busy() const {
  std::lock_guard lock(state_->mutex);
  return state_->busy;
}

bool OperationWorker::WaitIdle(std::chrono::milliseconds timeout, const std::function<void()>& pump) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(state_->mutex);
  while (state_->busy) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    lock.unlock();
    if (pump) pump();
    lock.lock();
    state_->changed.wait_for(lock, std::chrono::milliseconds(5), [&] { return !state_->busy; });
  }
  return true;
}

}  // namespace lecdl
