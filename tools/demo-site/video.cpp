#include "video.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "hash.h"

namespace demo {
namespace {

// An FLV file header with an empty first tag size, so saved files look like
// what they claim to be.
constexpr unsigned char kHeader[13] = {'F', 'L', 'V', 0x01, 0x05, 0, 0, 0, 0x09, 0, 0, 0, 0};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<std::int64_t> Number(std::string_view s) {
  s = Trim(s);
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < 0) return std::nullopt;
  return v;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

RangePlan Whole(std::int64_t size) { return RangePlan{200, 0, size, {}}; }

}  // namespace

std::uint64_t FileSeed(std::string_view file_id) { return SplitMix64(Fnv1a(file_id)); }

void FillVideoBytes(std::uint64_t seed, std::int64_t offset, char* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    std::int64_t at = offset + static_cast<std::int64_t>(i);
    if (at < static_cast<std::int64_t>(sizeof kHeader)) {
      out[i] = static_cast<char>(kHeader[at]);
      continue;
    }
    std::uint64_t word = SplitMix64(seed ^ static_cast<std::uint64_t>(at / 8));
    out[i] = static_cast<char>((word >> (8 * (at % 8))) & 0xFF);
  }
}

std::string VideoBytes(std::uint64_t seed, std::int64_t offset, std::size_t n) {
  std::string s(n, '\0');
  FillVideoBytes(seed, offset, s.data(), n);
  return s;
}

std::string VideoETag(std::uint64_t seed, std::int64_t size) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "\"%016llx-%lld\"", static_cast<unsigned long long>(seed),
                static_cast<long long>(size));
  return buf;
}

RangePlan PlanRange(std::string_view range, std::string_view if_range, std::string_view etag,
                    std::int64_t size) {
  range = Trim(range);
  if (range.empty() || !StartsWithNoCase(range, "bytes=")) return Whole(size);
  if (!if_range.empty() && Trim(if_range) != etag) return Whole(size);
  std::string_view byteRange = Trim(range.substr(6));
  auto dash = byteRange.find('-');
  if (byteRange.find(',') != std::string_view::npos || dash == std::string_view::npos) {
    return Whole(size);
  }
  std::string_view first_text = Trim(byteRange.substr(0, dash));
  std::string_view last_text = Trim(byteRange.substr(dash + 1));
  std::int64_t first = 0;
  std::int64_t last = size - 1;
  if (first_text.empty()) {  // "-n": the last n bytes
    auto n = Number(last_text);
    if (!n) return Whole(size);
    if (*n == 0) return RangePlan{416, 0, 0, "bytes */" + std::to_string(size)};
    first = *n >= size ? 0 : size - *n;
  } else {
    auto a = Number(first_text);
    if (!a) return Whole(size);
    first = *a;
    if (!last_text.empty()) {
      auto b = Number(last_text);
      if (!b || *b < first) return Whole(size);
      last = *b < size - 1 ? *b : size - 1;
    }
  }
  if (first >= size) return RangePlan{416, 0, 0, "bytes */" + std::to_string(size)};
  std::int64_t length = last - first + 1;
  return RangePlan{206, first, length,
                   "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                       std::to_string(size)};
}

}  // namespace demo
