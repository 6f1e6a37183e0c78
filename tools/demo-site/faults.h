// Fault switches for video-file answers: which files misbehave, how, and for
// how many requests. Set at run time from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

enum class FaultKind {
  kCut,          // full Content-Length, part of the body, then the connection closes
  kStall,        // headers and some bytes, then silence until the hold ends or the server stops
  kStatus,       // an error status with a small body
  kChunked,      // no Content-Length: chunked transfer
  kIgnoreRange,  // a Range request gets 200 and the whole file
  kGrow,         // each affected request leaves the file longer for the ones after it
  kSlow,         // the body trickles at a bounded rate
};

inline constexpr std::int64_t kDefaultArg = INT64_MIN;

struct FaultSpec {
  FaultKind kind = FaultKind::kCut;
  // cut: body bytes sent (negative: all but that many; default half);
  // stall: bytes before the silence (default 0); status: the code (default 404);
  // grow: bytes added (negative shrinks; default 4096); slow: bytes a second (default 16384).
  std::int64_t arg = kDefaultArg;
  int times = 0;             // > 0: only the first `times` GETs of each file
  int retry_after = -1;      // status: Retry-After seconds when >= 0
  int hold_seconds = 60;     // stall: how long the silence lasts before the connection closes
};

// "KIND[:ARG][,OPTION=VALUE...]" (":" and "," both separate), e.g. "cut:1000,times=1",
// "status:503:retry=1", "stall:4096,secs=5". Returns the error text when bad.
std::optional<FaultSpec> ParseFaultSpec(std::string_view text, std::string* error);
// "FAULT@PLAYID", PLAYID "*" for every file.
struct FaultRule {
  std::string target;
  FaultSpec faultSpec;
};
std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string* error);

// What one request of a file gets.
struct FaultPlan {
  std::optional<FaultSpec> shape;  // the answer-shaping fault, if any
  std::int64_t size_change = 0;    // from grow faults
};

class FaultTable {
 public:
  void Set(const std::string& target, const FaultSpec& faultSpec);  // replaces that target's faults
  void Add(const std::string& target, const FaultSpec& faultSpec);
  void Clear();
  // For a GET, uses up one of the `times` of the faults that act on it; a HEAD
  // only sees the size the file has now.
  FaultPlan Plan(const std::string& play_id, bool is_get);

 private:
  struct Rule {
    FaultSpec faultSpec;
    std::map<std::string, int> used;  // GETs it acted on, by play id
  };
  std::mutex mutex_;
  std::map<std::string, std::vector<Rule>> rules_;
};

}  // namespace demo
