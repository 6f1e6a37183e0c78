// Video files that are never stored: every byte is a function of the file id
// and its offset, so any range can be served and checked independently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace demo {

std::uint64_t FileSeed(std::string_view file_id);

// Writes bytes [offset, offset + n) of the file with this seed into out.
void FillVideoBytes(std::uint64_t seed, std::int64_t offset, char* out, std::size_t n);
std::string VideoBytes(std::uint64_t seed, std::int64_t offset, std::size_t n);

// A strong validator that changes when the content or the size would.
std::string VideoETag(std::uint64_t seed, std::int64_t size);

// How to answer a GET of a resource of `size` bytes.
struct RangePlan {
  int status = 200;  // 200, 206 or 416
  std::int64_t offset = 0;
  std::int64_t length = 0;
  std::string content_range;  // empty for 200
};

// Single byte ranges ("a-b", "a-", "-n") are honoured; several ranges, bad
// syntax, or an If-Range that does not match the ETag give the whole file;
// a range starting at or past the end gives 416.
RangePlan PlanRange(std::string_view range, std::string_view if_range, std::string_view etag,
                    std::int64_t size);

}  // namespace demo
