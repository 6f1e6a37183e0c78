#pragma once

// One video file through the download engine, watched the way the window watches it: a bounded
// start wait, then a progress poll once per period until the task ends.

#include <functional>
#include <string>

#include "app/form.h"
#include "download/download_engine.h"
#include "download/task_param.h"

namespace lecdl {

// The fixed values of a command run, and its clock.
struct DownloadSettings {
  TaskParam task;            // source and target are set per file
  int startWaitPolls = 16;   // a task with no more than 1000 bytes after this many polls timed out
  int pollMs = 1000;
};

enum class EpisodeResult { Complete, Failed, TimedOut, Cancelled };

// Runs `param` to its end. `onProgress` gets the progress text after every progress poll
// (never "" ). A task that timed out is stopped before this returns, so the next one can start.
EpisodeResult RunEpisodeTask(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings,
                             const TaskParam& param, const std::function<void(const std::string&)>& onProgress);

}  // namespace lecdl
