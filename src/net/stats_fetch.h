#pragma once

// The small HTTP routine of the usage counters: its own address split, fixed 18-second time-outs
// and browser-like header completion. Independent of WebFetch's defaults. Never fails loudly: a
// failure of any kind gives an empty body.

#include <string>
#include <string_view>

namespace lecdl {

inline constexpr long kStatsTimeoutMs = 18'000;
inline constexpr std::string_view StatsUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

struct StatsRequest {
  std::string address;  // "http://host[:port]/path", or the same without "http://"
  std::string method;   // "POST" in any letter case posts (in the caller's spelling); else GET
  std::string proxy;    // "host:port", used only when useProxy is set
  bool useProxy = false;
  std::string headers;  // extra header lines, each ended by "\r\n"
  std::string body;     // POST body
  bool wantHeaders = false;
  // Connect, send and receive time-out; a transfer never takes longer than connect plus receive.
  // Fixed in use; tests shorten it.
  long timeoutMs = kStatsTimeoutMs;
};

struct StatsResponse {
  std::string body;        // up to its first zero byte
  std::string rawHeaders;  // with wantHeaders: see StatsFetch
};

// Where StatsFetch connects. A port that is no number is 0, which the connection takes as 80.
struct StatsAddress {
  std::string host;  // lower case
  int port = 80;
  std::string path;  // from the first "/" after the host, query included; "/" when none
};
StatsAddress SplitStatsAddress(std::string_view address);

// The header text that goes out: the caller's lines, then Accept, Referer (the address) and
// Accept-Language unless the caller's text holds them (names compared ignoring case).
std::string CompleteStatsHeaders(std::string_view callerHeaders, std::string_view address);

// One request. With wantHeaders, rawHeaders is the last response's header block (lines ended by
// "\r\n", a blank line last) when it fits 1,023 bytes, else 1,024 spaces.
StatsResponse StatsFetch(const StatsRequest& request);

// A GET with every option at its default; the body text.
std::string StatsFetch(std::string_view address);

}  // namespace lecdl
