// StatsFetch over libcurl: one easy handle per request, nothing kept between calls.

#include "net/stats_fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "net/address.h"
#include "net/curl_init.h"
#include "text/text.h"

namespace lecdl {

namespace {

// A status or counter text is a line or two; a larger answer is cut rather than held.
constexpr size_t kMaxBodyBytes = 1u << 20;
// The raw header buffer holds 1,024 bytes including its terminating zero.
constexpr size_t kHeaderBufferBytes = 1024;

int Length(std::string_view text) { return static_cast<int>(text.size()); }

struct Sink {
  std::string body;
  std::string headers;  // the block of the last response
  bool headersDone = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& sink = *static_cast<Sink*>(user);
  const size_t bytes = size * count;
  const size_t taken = std::min(bytes, kMaxBodyBytes - std::min(kMaxBodyBytes, sink.body.size()));
  sink.body.append(data, taken);
  return taken;  // short: curl ends the transfer
}

// Redirects and 1xx answers bring blocks of their own; only the last one counts.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& sink = *static_cast<Sink*>(user);
  const size_t bytes = size * count;
  const std::string_view line(data, bytes);
  if (line.starts_with("HTTP/")) {
    sink.headers.clear();
    sink.headersDone = false;
  }
  if (sink.headersDone) return bytes;  // trailers
  if (line == "\r\n" || line == "\n") sink.headersDone = true;
  // Only whether the block fits the buffer matters beyond this size.
  if (sink.headers.size() < kHeaderBufferBytes) sink.headers.append(line);
  return bytes;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::unique_ptr<curl_slist, ListDeleter> HeaderList(std::string_view text, bool withBody) {
  curl_slist* list = nullptr;
  auto append = [&list](const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list, line.c_str())) list = grown;
  };
  for (const std::string& line : SplitText(text, "\r\n")) {
    if (!line.empty()) append(line);
  }
  if (withBody) append("Expect:");  // the body goes at once, without waiting for "100"
  return std::unique_ptr<curl_slist, ListDeleter>(list);
}

void ApplyTimeouts(CURL* h, long timeoutMs) {
  const long ms = std::max(1L, timeoutMs);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, ms);
  // No byte for a whole time-out ends the receive (or the send); and however the server
  // trickles, the request never takes longer than connect plus receive.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, (ms + 999) / 1000));
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, 2 * ms);
}

}  // namespace

StatsAddress SplitStatsAddress(std::string_view address) {
  const int length = Length(address);
  std::string hostPart;
  if (LowerAscii(LeftText(address, 7)) != "http://") {
    const int slash = FindText(address, "/");
    hostPart = slash == -1 ? std::string(address) : LeftText(address, slash - 1);
  } else {
    const int slash = FindText(address, "/", 8);
    hostPart = slash == -1 ? MidText(address, 8, length) : MidText(address, 8, slash - 8);
  }
  StatsAddress out;
  const int colon = FindText(hostPart, ":");
  out.host = LowerAscii(colon == -1 ? hostPart : LeftText(hostPart, colon - 1));
  out.port = colon == -1 ? 80 : ToInteger(MidText(hostPart, colon + 1, Length(hostPart)));
  const int hostAt = FindText(address, out.host, 1, true);
  const int slash = FindText(address, "/", hostAt);
  out.path = slash == -1 ? "/" : MidText(address, slash, length);
  return out;
}

std::string CompleteStatsHeaders(std::string_view callerHeaders, std::string_view address) {
  std::string headers(callerHeaders);
  if (FindText(headers, "Accept: ", 1, true) == -1) {
    headers +=
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
  }
  if (FindText(headers, "Referer: ", 1, true) == -1) headers += "Referer: " + std::string(address) + "\r\n";
  if (FindText(headers, "Accept-Language: ", 1, true) == -1) headers += "Accept-Language: zh-cn\r\n";
  return headers;
}

StatsResponse StatsFetch(const StatsRequest& request) {
  StatsResponse response;
  try {
    InitCurlOnce();
    const StatsAddress where = SplitStatsAddress(request.address);
    if (where.host.empty()) return response;
    // The port travels as a 16-bit number, and 0 stands for the default port.
    unsigned port = static_cast<std::uint16_t>(where.port);
    if (port == 0) port = 80;
    const std::string url = "http://" + where.host + ":" + std::to_string(port) + EscapePath(where.path);

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) return response;
    CURL* const h = easy.get();

    const std::string method = LowerAscii(request.method) == "post" ? request.method : "GET";
    const bool get = method == "GET";
    std::string headers = CompleteStatsHeaders(request.headers, request.address);
    const bool withBody = !get && !request.body.empty();
    if (withBody) {
      headers += "Content-Type: application/x-www-form-urlencoded\r\n";
      headers += "Content-Length: " + std::to_string(request.body.size()) + "\r\n";
    }
    const auto headerList = HeaderList(headers, withBody);
    const std::string proxy =
        request.useProxy && !request.proxy.empty() ? "http://" + request.proxy : std::string();

    Sink sink;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, std::string(StatsUserAgent).c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());  // "" also ignores proxy variables
    if (!get) curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
    if (withBody) {
      curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
      curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    }
    ApplyTimeouts(h, request.timeoutMs);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &sink);
    curl_easy_perform(h);  // whatever arrived counts, also after a failure

    response.body = std::move(sink.body);
    response.body.resize(std::min(response.body.size(), response.body.find('\0')));
    if (request.wantHeaders) {
      // No block, or one that does not fit the buffer with its zero, leaves the buffer as it
      // started: all spaces.
      const bool fits = !sink.headers.empty() && sink.headers.size() < kHeaderBufferBytes;
      response.rawHeaders = fits ? std::move(sink.headers) : std::string(kHeaderBufferBytes, ' ');
    }
  } catch (...) {  // only allocation can throw; the contract is an empty body
    return {};
  }
  return response;
}

std::string StatsFetch(std::string_view address) {
  StatsRequest request;
  request.address = std::string(address);
  return StatsFetch(request).body;
}

}  // namespace lecdl
