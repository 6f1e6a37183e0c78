#pragma once

// Requests with bounds small enough that a test which goes wrong ends in seconds, not minutes.

#include <string>

#include "net/fetch.h"

namespace lecdl::test {

inline FetchRequest QuickRequest(std::string url) {
  FetchRequest request;
  request.url = std::move(url);
  request.limits.connectTimeoutMs = 2'000;
  request.limits.totalTimeoutMs = 15'000;
  request.limits.lowSpeedBytes = 1;
  request.limits.lowSpeedWindowMs = 5'000;
  return request;
}

}  // namespace lecdl::test
