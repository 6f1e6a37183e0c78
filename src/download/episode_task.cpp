#include "download/episode_task.h"

#include <algorithm>
#include <chrono>

#include "download/progress_text.h"

namespace lecdl {

namespace {

// A task counts as started once it holds more than this many bytes.
constexpr std::int64_t kStartedBytes = 1000;
// A poll period is waited in slices so that a task that ends is seen at once.
constexpr int kSliceMs = 100;

enum class WaitEnd { PeriodOver, TaskEnded, Cancelled };

WaitEnd WaitOnePoll(FormPort& form, DownloadEngine& engine, int pollMs) {
  for (int waited = 0; waited < pollMs;) {
    if (!engine.IsActive()) return WaitEnd::TaskEnded;
    const int slice = std::min(kSliceMs, pollMs - waited);
    if (!form.Wait(slice)) return WaitEnd::Cancelled;
    waited += slice;
  }
  return WaitEnd::PeriodOver;
}

void StopTask(DownloadEngine& engine, const TaskParam& param) {
  engine.Stop();
  engine.WaitUntilIdle(std::chrono::milliseconds(param.stopGraceMs * 2));
}

}  // namespace

EpisodeResult RunEpisodeTask(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings,
                             const TaskParam& param, const std::function<void(const std::string&)>& onProgress) {
  if (!engine.AddTask(param)) return EpisodeResult::Failed;

  for (int polls = 0; engine.ReceivedBytes() <= kStartedBytes && engine.IsActive(); ++polls) {
    if (polls >= settings.startWaitPolls) {
      StopTask(engine, param);
      return EpisodeResult::TimedOut;
    }
    if (WaitOnePoll(form, engine, settings.pollMs) == WaitEnd::Cancelled) {
      StopTask(engine, param);
      return EpisodeResult::Cancelled;
    }
  }

  while (engine.IsActive()) {
    const WaitEnd end = WaitOnePoll(form, engine, settings.pollMs);
    if (end == WaitEnd::Cancelled) {
      StopTask(engine, param);
      return EpisodeResult::Cancelled;
    }
    if (end == WaitEnd::TaskEnded) break;
    const std::string text = ProgressText(engine.ReceivedBytes(), engine.TotalBytes());
    if (!text.empty()) onProgress(text);
  }
  return engine.LastOutcome().state == TaskState::Finished ? EpisodeResult::Complete : EpisodeResult::Failed;
}

}  // namespace lecdl
