#include "video_body.h"

#include <httplib.h>

#include <algorithm>

#include "video.h"

namespace demo {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr const char* kType = "video/x-flv";

// Writes up to `n` bytes of the slice from body offset `offset`.
bool Send(const VideoSlice& s, std::size_t offset, std::size_t n, httplib::DataSink& sink) {
  char buf[kChunk];
  n = std::min(n, kChunk);
  FillVideoBytes(s.seed, s.start + static_cast<std::int64_t>(offset), buf, n);
  return sink.write(buf, n);
}

std::size_t Clamp(std::int64_t v, std::int64_t high) {
  return static_cast<std::size_t>(std::clamp<std::int64_t>(v, 0, high));
}

}  // namespace

void SetVideoBody(httplib::Response& res, const VideoSlice& slice,
                  const std::optional<FaultSpec>& shape, StopSignal& stop) {
  const auto length = static_cast<std::size_t>(slice.length);
  const auto is = [&shape](FaultKind k) { return shape && shape->kind == k; };
  const std::int64_t arg = shape ? shape->arg : kDefaultArg;

  if (is(FaultKind::kChunked)) {
    res.set_chunked_content_provider(kType, [slice](std::size_t offset, httplib::DataSink& sink) {
      if (offset >= static_cast<std::size_t>(slice.length)) {
        sink.done();
        return true;
      }
      return Send(slice, offset, static_cast<std::size_t>(slice.length) - offset, sink);
    });
    return;
  }
  if (is(FaultKind::kCut) || is(FaultKind::kStall)) {
    // Returning false from the provider makes the library drop the connection.
    std::size_t limit = 0;
    if (is(FaultKind::kCut)) {
      limit = arg == kDefaultArg ? length / 2
              : arg < 0          ? Clamp(slice.length + arg, slice.length)
                                 : Clamp(arg, slice.length);
    } else {
      limit = arg == kDefaultArg ? 0 : Clamp(arg, slice.length);
    }
    const bool stall = is(FaultKind::kStall);
    const auto hold = std::chrono::milliseconds(std::int64_t{shape->hold_seconds} * 1000);
    res.set_content_provider(
        length, kType,
        [slice, limit, stall, hold, &stop](std::size_t offset, std::size_t n,
                                           httplib::DataSink& sink) {
          if (offset < limit) return Send(slice, offset, std::min(n, limit - offset), sink);
          if (stall) stop.WaitFor(hold);
          return false;
        });
    return;
  }
  if (is(FaultKind::kSlow)) {
    const std::int64_t rate = arg == kDefaultArg ? 16384 : std::max<std::int64_t>(arg, 1);
    // Ten pieces a second, or one byte at a time when slower than that.
    const auto piece = static_cast<std::size_t>(std::max<std::int64_t>(rate / 10, 1));
    const auto pause = std::chrono::milliseconds(static_cast<std::int64_t>(piece) * 1000 / rate);
    res.set_content_provider(
        length, kType,
        [slice, piece, pause, &stop](std::size_t offset, std::size_t n, httplib::DataSink& sink) {
          if (stop.WaitFor(pause)) return false;
          return Send(slice, offset, std::min(n, piece), sink);
        });
    return;
  }
  res.set_content_provider(length, kType,
                           [slice](std::size_t offset, std::size_t n, httplib::DataSink& sink) {
                             return Send(slice, offset, n, sink);
                           });
}

}  // namespace demo
