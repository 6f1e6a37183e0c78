#pragma once

// One HTTP(S) request with browser-like default headers, over libcurl. Never fails loudly: a
// failure of any kind gives an empty body.

#include <string>
#include <string_view>

namespace lecdl {

enum class HttpMethod { Get, Post };

// Bounds that keep a broken, slow or hostile server from hanging the program or filling memory.
// Each ends the fetch with what was received so far.
struct FetchLimits {
  long connectTimeoutMs = 30'000;
  long totalTimeoutMs = 5 * 60'000;
  // Too slow: the rate stays below lowSpeedBytes per lowSpeedWindowMs for a whole window
  // (libcurl's low-speed check, whole seconds, averaged over its last few seconds).
  long lowSpeedBytes = 1024;
  long lowSpeedWindowMs = 60'000;
  size_t maxBodyBytes = 64u << 20;  // a longer body is cut at this size
  // A time or speed bound of 0 or less is off (the connect time-out is then libcurl's own).
};

struct FetchRequest {
  std::string url;
  HttpMethod method = HttpMethod::Get;
  std::string postText;   // POST body when postBytes is empty
  std::string postBytes;  // POST body; takes precedence over postText
  // A caller-held cookie jar ("a=1; b=2"). Its presence alone (even when empty) switches the
  // process-wide cookie store off, sends the jar and merges the received cookies into it.
  std::string* cookies = nullptr;
  std::string extraHeaders;  // lines joined by "\r\n", no line end after the last
  bool noRedirect = false;
  std::string* proxy = nullptr;  // "host:port" of an HTTP proxy, used for http:// addresses
  FetchLimits limits;
};

struct FetchResult {
  std::string receivedCookies;  // name=value of every Set-Cookie line, joined by "; "
  std::string location;         // last "Location:" value, else the whole rawHeaders
  std::string rawHeaders;       // status line first, lines ended by "\r\n"
};

inline constexpr std::string_view DefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; 482TZ; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";

// Performs the request and returns the body bytes (possibly holding zero bytes).
std::string WebFetch(const FetchRequest& request, FetchResult& result);
std::string WebFetch(const FetchRequest& request);

// A plain GET with every option at its default; the body up to its first zero byte.
std::string FetchPageText(std::string_view address);

// Lower-cased host of an address, with ":port" only when withPort is set.
std::string UrlHost(std::string_view address, bool withPort = false);
// The port to connect to: the one in the address, else 443 for https and 80 otherwise.
int UrlPort(std::string_view address);
// The path sent in the request line, beginning with "/", query string included.
std::string UrlPath(std::string_view address);
// The trimmed text after the first ":" of a header line; "" without one.
std::string HeaderValue(std::string_view line);

}  // namespace lecdl
