// The requests the demo site has seen, in order of arrival; tests read it to
// check which pages a client fetched.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

struct LoggedRequest {
  std::string method;
  std::string target;  // path and query string as sent
  std::string range;   // the Range header, empty when none
};

class RequestLog {
 public:
  void Add(std::string method, std::string target, std::string range = {});
  std::vector<LoggedRequest> Snapshot() const;
  // Targets only, those whose path starts with `prefix` (all when empty).
  std::vector<std::string> Targets(std::string_view prefix = {}) const;
  std::size_t Size() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<LoggedRequest> entries_;
};

}  // namespace demo
