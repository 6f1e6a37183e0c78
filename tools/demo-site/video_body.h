// The body of a video answer, whole or misbehaving as a fault asks, as an
// httplib content provider.
#pragma once

#include <cstdint>

#include "faults.h"
#include "stop_signal.h"

namespace httplib {
struct Response;
}

namespace demo {

struct VideoSlice {
  std::uint64_t seed = 0;
  std::int64_t start = 0;   // file offset of the first body byte
  std::int64_t length = 0;  // body bytes the headers announce
};

// Puts the slice on `res` as the body; `shape` may be a cut, stall, slow or
// chunked fault, or none. Waits end early when `stop` is raised; `stop` must
// outlive the answer.
void SetVideoBody(httplib::Response& res, const VideoSlice& slice,
                  const std::optional<FaultSpec>& shape, StopSignal& stop);

}  // namespace demo
