#include "download/http_attempt.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <memory>
#include <string_view>

#include "download/retry_pause.h"

namespace lecdl {

namespace {

using Clock = std::chrono::steady_clock;

// Large enough that a fast line costs few write calls; the task's block size only raises it.
constexpr long kMinBufferBytes = 64 * 1024;
constexpr long kMaxBufferBytes = 512 * 1024;
// Longest sleep in the transfer loop; stop requests wake it earlier.
constexpr long kPollMs = 200;

struct Exchange {
  BodySink* sink = nullptr;
  ResponseHead head;
  bool headDelivered = false;
  bool httpError = false;
  bool sinkRefused = false;
  Clock::time_point lastActivity = Clock::now();
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::int64_t ParseNumber(std::string_view text) {
  std::int64_t value = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0 ? value : -1;
}

// "bytes a-b/total" or "bytes */total".
void ParseContentRange(std::string_view value, ResponseHead& head) {
  if (!value.starts_with("bytes")) return;
  value = Trim(value.substr(5));
  const size_t slash = value.find('/');
  if (slash == std::string_view::npos) return;
  const std::string_view range = value.substr(0, slash);
  const std::string_view total = Trim(value.substr(slash + 1));
  head.rangeTotal = total == "*" ? -1 : ParseNumber(total);
  const size_t dash = range.find('-');
  if (dash != std::string_view::npos) head.rangeStart = ParseNumber(Trim(range.substr(0, dash)));
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& ex = *static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  ex.lastActivity = Clock::now();
  const std::string_view line = Trim(std::string_view(data, bytes));
  if (std::string_view(data, bytes).starts_with("HTTP/")) {
    ex.head = ResponseHead{};
    const size_t space = line.find(' ');
    if (space != std::string_view::npos) {
      const std::string_view rest = line.substr(space + 1);
      ex.head.status = static_cast<long>(ParseNumber(rest.substr(0, std::min<size_t>(3, rest.size()))));
    }
    return bytes;
  }
  if (!line.empty()) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return bytes;
    const std::string_view name = Trim(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (SameName(name, "Content-Length")) ex.head.contentLength = ParseNumber(value);
    else if (SameName(name, "Content-Range")) ParseContentRange(value, ex.head);
    else if (SameName(name, "Retry-After")) ex.head.retryAfterSeconds = ParseRetryAfter(value);
    return bytes;
  }
  // End of a header block: interim (1xx) and redirect blocks are followed by another.
  const long status = ex.head.status;
  if (status < 200 || (status >= 300 && status < 400 && status != 304)) return bytes;
  if (status >= 300) {
    ex.httpError = true;
    return 0;  // the error body is of no use
  }
  if (ex.headDelivered) return bytes;  // trailers
  ex.headDelivered = true;
  if (!ex.sink->OnHead(ex.head)) {
    ex.sinkRefused = true;
    return 0;
  }
  return bytes;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& ex = *static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  ex.lastActivity = Clock::now();
  if (!ex.headDelivered || !ex.sink->OnData(data, bytes)) {
    ex.sinkRefused = true;
    return 0;
  }
  return bytes;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

void Configure(CURL* h, const AttemptSpec& plan, const TaskParam& param, Exchange& ex) {
  curl_easy_setopt(h, CURLOPT_URL, plan.url.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, plan.url.starts_with("https://") ? "https" : "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  // The bytes on disk must be the resource's own, not a decoded form of it.
  curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  if (param.connectTimeoutMs > 0) curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, param.connectTimeoutMs);
  if (param.speedLimitBytesPerSecond > 0) {
    curl_easy_setopt(h, CURLOPT_MAX_RECV_SPEED_LARGE, static_cast<curl_off_t>(param.speedLimitBytesPerSecond));
  }
  curl_easy_setopt(h, CURLOPT_BUFFERSIZE, std::clamp(param.blockSize, kMinBufferBytes, kMaxBufferBytes));
  if (plan.headOnly) curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
  const std::string range = std::to_string(plan.rangeFrom) + "-";
  if (plan.rangeFrom > 0) curl_easy_setopt(h, CURLOPT_RANGE, range.c_str());  // copied by curl
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &ex);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &ex);
}

}  // namespace

AttemptResult RunAttempt(CURLM* multi, const AttemptSpec& plan, const TaskParam& param, BodySink& sink,
                         const std::atomic<bool>& stop) {
  AttemptResult result;
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) {
    result.message = "cannot create a transfer";
    return result;
  }
  Exchange ex;
  ex.sink = &sink;
  Configure(easy.get(), plan, param, ex);
  if (curl_multi_add_handle(multi, easy.get()) != CURLM_OK) {
    result.message = "cannot start a transfer";
    return result;
  }

  const auto stallLimit = std::chrono::milliseconds(std::max(1L, param.receiveTimeoutMs));
  ex.lastActivity = Clock::now();
  std::optional<CURLcode> done;
  bool stalled = false, stopped = false;
  while (!done) {
    int running = 0;
    curl_multi_perform(multi, &running);
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy.get()) done = msg->data.result;
    }
    if (done) break;
    if (stop.load()) {
      stopped = true;
      break;
    }
    const auto idle = Clock::now() - ex.lastActivity;
    if (idle >= stallLimit) {
      stalled = true;
      break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(stallLimit - idle).count();
    curl_multi_poll(multi, nullptr, 0, static_cast<int>(std::clamp<long long>(left, 1, kPollMs)), nullptr);
  }
  curl_multi_remove_handle(multi, easy.get());

  result.head = ex.head;
  if (stopped) {
    result.end = AttemptEnd::Stopped;
    result.message = "stopped";
  } else if (stalled) {
    result.end = AttemptEnd::Stalled;
    result.message = "no data for " + std::to_string(param.receiveTimeoutMs) + " ms";
  } else if (ex.httpError) {
    result.end = AttemptEnd::HttpError;
    result.message = "HTTP status " + std::to_string(ex.head.status);
  } else if (ex.sinkRefused) {
    result.end = AttemptEnd::SinkRefused;
  } else if (*done == CURLE_OK && !ex.headDelivered) {
    // A final answer that is neither a success nor a redirect curl could follow.
    result.end = AttemptEnd::HttpError;
    result.message = "HTTP status " + std::to_string(ex.head.status);
  } else if (*done == CURLE_OK) {
    result.end = AttemptEnd::Complete;
  } else {
    result.end = AttemptEnd::NetError;
    result.message = curl_easy_strerror(*done);
  }
  return result;
}

}  // namespace lecdl
