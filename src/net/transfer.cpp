// The libcurl side of a fetch: process-wide set-up, the shared cookie store, one easy handle per
// transfer.

#include "net/transfer.h"

#include "net/curl_init.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <string_view>

namespace lecdl {

namespace {

constexpr long kMaxRedirects = 20;

// The cookie store of every fetch that holds no jar of its own, shared like a browser's.
class SharedCookieStore {
 public:
  // Created on first use and kept until the process ends: cookies outlive every single fetch.
  static CURLSH* Handle() {
    static SharedCookieStore* const store = new SharedCookieStore();
    return store->share_;
  }

 private:
  SharedCookieStore() : share_(curl_share_init()) {
    if (share_ == nullptr) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &SharedCookieStore::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &SharedCookieStore::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }

  std::mutex& MutexFor(curl_lock_data data) {
    const auto index = static_cast<size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<SharedCookieStore*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<SharedCookieStore*>(self)->MutexFor(data).unlock();
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

bool CurlAcceptsUrl(const std::string& url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return false;
  const CURLUcode code = curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0);
  curl_url_cleanup(parsed);
  return code == CURLUE_OK;
}

struct Sink {
  size_t maxBody = 0;
  TransferOutcome out;
  bool headerBlockDone = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& sink = *static_cast<Sink*>(user);
  const size_t bytes = size * count;
  const size_t room = sink.maxBody - std::min(sink.maxBody, sink.out.body.size());
  const size_t taken = std::min(bytes, room);
  sink.out.body.append(data, taken);
  return taken;  // short of `bytes`: curl ends the transfer, the body is full
}

// curl reports the header lines of every response (redirects, 1xx); only the last block counts.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& sink = *static_cast<Sink*>(user);
  const size_t bytes = size * count;
  std::string_view line(data, bytes);
  if (line.starts_with("HTTP/")) {
    sink.out.headers.clear();
    sink.out.headersTooLong = false;
    sink.headerBlockDone = false;
  }
  if (sink.headerBlockDone) return bytes;  // trailers after a chunked body
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.empty()) sink.headerBlockDone = true;
  if (sink.out.headersTooLong) return bytes;
  if (sink.out.headers.size() + line.size() + 2 > kMaxHeaderBlockBytes) {
    sink.out.headersTooLong = true;
    sink.out.headers.clear();
  } else {
    sink.out.headers.append(line).append("\r\n");
  }
  return bytes;
}

HeaderList BuildHeaderList(const TransferSpec& plan) {
  curl_slist* list = nullptr;
  auto append = [&list](const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list, line.c_str())) list = grown;
  };
  for (const std::string& line : plan.headerLines) append(line);
  // Lines with an empty value keep curl from adding its own: the request carries only the
  // Accept the caller's header text asks for, and a POST is sent without waiting for "100".
  append("Accept:");
  if (plan.post) append("Expect:");
  return HeaderList(list);
}

void ApplyLimits(CURL* easy, const FetchLimits& limits) {
  if (limits.connectTimeoutMs > 0) curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
  if (limits.totalTimeoutMs > 0) curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
  if (limits.lowSpeedBytes > 0 && limits.lowSpeedWindowMs > 0) {
    // curl watches an average rate held for whole seconds: fewer than lowSpeedBytes over the
    // window is the same as a rate below lowSpeedBytes / window.
    const long seconds = std::max(1L, (limits.lowSpeedWindowMs + 999) / 1000);
    const long perSecond = std::max(1L, (limits.lowSpeedBytes + seconds - 1) / seconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, seconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, perSecond);
  }
}

void ApplyProxy(CURL* easy, const TransferSpec& plan) {
  // Only plain http goes through the proxy; "" also keeps curl from reading proxy variables
  // from the environment.
  const bool useProxy = plan.proxy != nullptr && !plan.proxy->empty() && plan.url.starts_with("http://");
  const std::string proxy = useProxy ? "http://" + *plan.proxy : std::string();
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  if (useProxy) curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
}

}  // namespace

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::optional<TransferOutcome> RunTransfer(const TransferSpec& plan) {
  InitCurlOnce();
  if (!CurlAcceptsUrl(plan.url)) return std::nullopt;
  EasyHandle easy(curl_easy_init());
  if (!easy) return std::nullopt;
  CURL* const h = easy.get();

  Sink sink;
  sink.maxBody = plan.limits.maxBodyBytes;
  const HeaderList headers = BuildHeaderList(plan);

  curl_easy_setopt(h, CURLOPT_URL, plan.url.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  // http may be redirected up to https; an https request is never led down to plain http.
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, plan.url.starts_with("https://") ? "https" : "http,https");
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);  // the path goes out as the address spells it
  curl_easy_setopt(h, CURLOPT_USERAGENT, plan.agent.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, plan.followRedirects ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (plan.sharedCookieStore) {
    curl_easy_setopt(h, CURLOPT_SHARE, SharedCookieStore::Handle());
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // cookie engine on, no file read
  }
  if (plan.post && plan.body != nullptr) {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(plan.body->size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, plan.body->data());
  }
  ApplyProxy(h, plan);
  ApplyLimits(h, plan.limits);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &sink);

  // Whatever the outcome, the caller gets what arrived: a failed or cut transfer is not an error
  // of its own.
  curl_easy_perform(h);
  return std::move(sink.out);
}

}  // namespace lecdl
