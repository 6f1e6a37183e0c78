#pragma once

// The background download service: one task at a time, fetched over HTTP(S) on a worker thread
// of its own into a target file that has its full length before the first byte is written.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "download/download_job.h"
#include "download/task_param.h"

namespace lecdl {

class DownloadEngine {
 public:
  DownloadEngine();
  // Stops an active task, waiting at most its stop grace time for it to wind up.
  ~DownloadEngine();
  DownloadEngine(const DownloadEngine&) = delete;
  DownloadEngine& operator=(const DownloadEngine&) = delete;

  // Starts the task in the background and returns at once. False, with nothing started, while a
  // task is active or when the source is not a usable http/https address.
  bool AddTask(const TaskParam& param);

  // Bytes of the resource the active task holds in its target (a resumed task counts what it
  // resumed from); 0 when no task is active.
  std::int64_t ReceivedBytes() const;
  // Size of the active task's resource; -1 while unknown, 0 when no task is active.
  std::int64_t TotalBytes() const;
  bool IsActive() const { return active_.load(); }

  // How the last task ended; state None before any task ended.
  TaskOutcome LastOutcome() const;

  // Asks the active task to stop; returns at once. The target keeps its control file.
  void Stop();
  // True when no task is active, waiting up to `timeout` for that.
  bool WaitUntilIdle(std::chrono::milliseconds timeout);

 private:
  void Work(TaskParam param, std::string url);
  bool PauseWork(std::chrono::milliseconds duration);
  void JoinWorker();

  void* multi_ = nullptr;  // CURLM*, woken by Stop
  std::mutex controlMutex_;  // serialises AddTask, Stop and destruction
  std::thread worker_;
  std::atomic<bool> active_{false};
  std::atomic<bool> stop_{false};
  JobProgress progress_;

  mutable std::mutex stateMutex_;
  std::condition_variable stateChanged_;
  TaskOutcome outcome_;
  long stopGraceMs_ = 1000;
};

}  // namespace lecdl
