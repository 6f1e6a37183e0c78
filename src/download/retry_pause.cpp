#include "download/retry_pause.h"

#include <algorithm>
#include <cctype>

namespace lecdl {

std::chrono::milliseconds RetryPause(int failures, long baseMs, long capMs, std::optional<long> retryAfterSeconds) {
  const long cap = std::max(0L, capMs);
  if (retryAfterSeconds) {
    const long seconds = std::clamp(*retryAfterSeconds, 0L, cap / 1000 + 1);
    return std::chrono::milliseconds(std::min(cap, seconds * 1000));
  }
  long pause = std::max(0L, baseMs);
  for (int i = 0; i < failures && pause < cap; ++i) pause *= 2;
  return std::chrono::milliseconds(std::min(pause, cap));
}

std::optional<long> ParseRetryAfter(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
  if (value.empty() || value.size() > 9) return std::nullopt;
  long seconds = 0;
  for (const char c : value) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    seconds = seconds * 10 + (c - '0');
  }
  return seconds;
}

}  // namespace lecdl
