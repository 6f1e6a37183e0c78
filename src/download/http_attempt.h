#pragma once

// One HTTP exchange of a download: a GET (from an offset) or a HEAD, driven through a curl multi
// handle so that a stop request and a silent server both end it at once.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "download/task_param.h"

typedef void CURLM;

namespace lecdl {

struct ResponseHead {
  long status = 0;
  std::int64_t contentLength = -1;
  std::int64_t rangeStart = -1;  // from Content-Range
  std::int64_t rangeTotal = -1;  // from Content-Range; -1 for "*" or none
  std::optional<long> retryAfterSeconds;
};

// Where the body goes. Returning false ends the exchange.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // Called once the final 2xx header block is complete, before any body byte.
  virtual bool OnHead(const ResponseHead& head) = 0;
  virtual bool OnData(const char* data, size_t size) = 0;
};

enum class AttemptEnd {
  Complete,     // the whole answer arrived
  HttpError,    // a status of 300 or more (after redirects)
  NetError,     // connection failed, dropped or timed out
  Stalled,      // no byte for the receive time-out
  Stopped,      // asked to stop
  SinkRefused,  // the sink ended the exchange
};

struct AttemptResult {
  AttemptEnd end = AttemptEnd::NetError;
  ResponseHead head;
  std::string message;
};

struct AttemptSpec {
  std::string url;
  std::int64_t rangeFrom = 0;  // > 0: ask for the bytes from here on
  bool headOnly = false;
};

AttemptResult RunAttempt(CURLM* multi, const AttemptSpec& plan, const TaskParam& param, BodySink& sink,
                         const std::atomic<bool>& stop);

}  // namespace lecdl
