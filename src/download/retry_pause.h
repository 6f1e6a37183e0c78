#pragma once

// How long to wait before trying a failed attempt again.

#include <chrono>
#include <optional>
#include <string_view>

namespace lecdl {

// base * 2^failures, at most cap; a server's Retry-After replaces it, again at most cap.
std::chrono::milliseconds RetryPause(int failures, long baseMs, long capMs,
                                     std::optional<long> retryAfterSeconds = std::nullopt);

// The delay-seconds form of Retry-After; a date or junk gives nothing.
std::optional<long> ParseRetryAfter(std::string_view value);

}  // namespace lecdl
