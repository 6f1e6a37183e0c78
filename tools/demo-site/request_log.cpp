#include "request_log.h"

namespace demo {

void RequestLog::Add(std::string method, std::string target, std::string range) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back({std::move(method), std::move(target), std::move(range)});
}

std::vector<LoggedRequest> RequestLog::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_;
}

std::vector<std::string> RequestLog::Targets(std::string_view prefix) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> out;
  for (const LoggedRequest& e : entries_) {
    if (std::string_view(e.target).substr(0, prefix.size()) == prefix) out.push_back(e.target);
  }
  return out;
}

std::size_t RequestLog::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

void RequestLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

}  // namespace demo
