#pragma once

// One task from start to end on the worker thread: the already-complete check, resuming from the
// control file, the attempts with their retry pauses, and the final flush.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

#include "download/task_param.h"

typedef void CURLM;

namespace lecdl {

struct JobProgress {
  std::atomic<std::int64_t> heldBytes{0};   // bytes of the resource in the target so far
  std::atomic<std::int64_t> totalBytes{-1};  // -1 while unknown
};

struct JobContext {
  CURLM* multi = nullptr;
  const std::atomic<bool>* stop = nullptr;
  // Sleeps up to the duration; false when a stop request cut it short.
  std::function<bool(std::chrono::milliseconds)> pause;
  JobProgress* progress = nullptr;
};

// `url` is the address as the connection uses it.
TaskOutcome RunDownloadJob(const TaskParam& param, const std::string& url, JobContext& context);

}  // namespace lecdl
