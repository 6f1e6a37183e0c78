#pragma once

// An HTTP server on 127.0.0.1 (ephemeral port) inside the test process, over cpp-httplib. It
// records every request that reaches a route and offers the misbehaviours that the clients
// under test must survive: redirects, cookies, error statuses, slow, stalled and huge bodies.
//
// cpp-httplib keeps request headers sorted by name, not in the order sent; tests of the exact
// request bytes use RawServer instead.

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace lecdl::test {

struct RecordedRequest {
  std::string method;
  std::string target;  // path with query, as sent
  std::vector<std::pair<std::string, std::string>> headers;  // sorted by name
  std::string body;

  bool HasHeader(std::string_view name) const;
  std::string Header(std::string_view name) const;  // first value, name compared ignoring case
};

class TestServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(std::string_view path = "/") const;

  // Routes take cpp-httplib patterns (regular expressions over the path).
  void Get(const std::string& pattern, Handler handler);
  void Post(const std::string& pattern, Handler handler);

  // Canned answers to GET `path`.
  void Text(const std::string& path, std::string body, int status = 200);
  void Redirect(const std::string& path, const std::string& target, int status = 302);
  // Sends the header block and `head`, then sends nothing more until the server stops.
  void Stall(const std::string& path, std::string head);
  // Sends `chunk` every `interval`, without end, as a chunked body.
  void Trickle(const std::string& path, std::string chunk, std::chrono::milliseconds interval);
  // A body of `size` bytes following a repeating pattern (see PatternBytes), with Content-Length.
  void Huge(const std::string& path, size_t size);

  std::vector<RecordedRequest> Requests() const;
  size_t RequestCount() const;

  // Waits up to `duration`; false as soon as the server is stopping, so that slow handlers end
  // promptly when a test is over.
  bool Pause(std::chrono::milliseconds duration);

  httplib::Server& Http() { return server_; }

 private:
  Handler Recording(Handler handler);

  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable stopping_changed_;
  bool stopping_ = false;
  std::vector<RecordedRequest> requests_;
};

// Bytes [offset, offset + size) of an endless repetition of "0-9a-z", so that a cut body can be
// checked byte for byte.
std::string PatternBytes(size_t offset, size_t size);

}  // namespace lecdl::test
