#include "download/download_engine.h"

#include <curl/curl.h>

#include <algorithm>
#include <string_view>

#include "net/address.h"
#include "net/curl_init.h"
#include "text/text.h"

namespace lecdl {

namespace {

bool HasHttpScheme(std::string_view address) {
  const std::string lower = LowerAscii(address.substr(0, 8));
  return lower.starts_with("http://") || lower.starts_with("https://");
}

}  // namespace

DownloadEngine::DownloadEngine() {
  InitCurlOnce();
  multi_ = curl_multi_init();
}

DownloadEngine::~DownloadEngine() {
  std::chrono::milliseconds grace;
  {
    std::lock_guard lock(stateMutex_);
    grace = std::chrono::milliseconds(std::max(0L, stopGraceMs_));
  }
  Stop();
  WaitUntilIdle(grace);
  // The worker checks the stop flag at least every poll; should a slow disk hold it past the
  // grace time, it must still end before the multi handle it uses goes away.
  JoinWorker();
  if (multi_ != nullptr) curl_multi_cleanup(static_cast<CURLM*>(multi_));
}

bool DownloadEngine::AddTask(const TaskParam& param) {
  std::lock_guard control(controlMutex_);
  if (active_.load() || multi_ == nullptr) return false;
  if (param.kind != 1 || !HasHttpScheme(param.source) || param.target.empty()) return false;
  const auto url = ConnectUrl(param.source);
  if (!url) return false;
  JoinWorker();  // the previous task has ended; its thread is finishing or gone
  stop_ = false;
  progress_.heldBytes = 0;
  progress_.totalBytes = -1;
  {
    std::lock_guard lock(stateMutex_);
    stopGraceMs_ = param.stopGraceMs;
  }
  active_ = true;
  worker_ = std::thread(&DownloadEngine::Work, this, param, *url);
  return true;
}

void DownloadEngine::Work(TaskParam param, std::string url) {
  JobContext context{static_cast<CURLM*>(multi_), &stop_, [this](auto d) { return PauseWork(d); }, &progress_};
  TaskOutcome outcome = RunDownloadJob(param, url, context);
  {
    std::lock_guard lock(stateMutex_);
    outcome_ = std::move(outcome);
    // The outcome is in place before the count falls to 0: a poller that sees 0 can read it.
    active_ = false;
  }
  stateChanged_.notify_all();
}

bool DownloadEngine::PauseWork(std::chrono::milliseconds duration) {
  std::unique_lock lock(stateMutex_);
  return !stateChanged_.wait_for(lock, duration, [this] { return stop_.load(); });
}

std::int64_t DownloadEngine::ReceivedBytes() const {
  if (!active_.load()) return 0;
  const std::int64_t held = progress_.heldBytes.load();
  return active_.load() ? held : 0;
}

std::int64_t DownloadEngine::TotalBytes() const {
  if (!active_.load()) return 0;
  const std::int64_t total = progress_.totalBytes.load();
  return active_.load() ? total : 0;
}

TaskOutcome DownloadEngine::LastOutcome() const {
  std::lock_guard lock(stateMutex_);
  return outcome_;
}

void DownloadEngine::Stop() {
  {
    std::lock_guard lock(stateMutex_);
    if (!active_.load()) return;
    stop_ = true;
  }
  stateChanged_.notify_all();
  if (multi_ != nullptr) curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

bool DownloadEngine::WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(stateMutex_);
  return stateChanged_.wait_for(lock, timeout, [this] { return !active_.load(); });
}

void DownloadEngine::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace lecdl
