#pragma once

// A bare TCP listener on 127.0.0.1 (ephemeral port) that keeps the exact bytes of every request
// and answers with bytes the test chooses. For what an HTTP library would hide: the order and
// spelling of request header lines, hand-made response header blocks, non-HTTP clients (a TLS
// handshake arriving on a plain socket).
//
// One connection at a time: read one request (up to the end of its headers plus Content-Length
// bytes, or until the peer goes quiet), answer, close.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lecdl::test {

class RawServer {
 public:
  // Gets the raw request bytes, returns the raw response bytes.
  using Responder = std::function<std::string(const std::string& request)>;

  explicit RawServer(Responder responder = nullptr);
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }
  std::string Url(std::string_view path = "/") const;

  std::vector<std::string> Requests() const;
  // Waits until `count` requests have arrived, at most `timeout`.
  bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

  // "HTTP/1.1 200 OK" with the given header lines (each without line end), a Content-Length
  // and the body.
  static std::string Response(const std::vector<std::string>& headerLines, std::string_view body);

 private:
  void Serve();
  void HandleConnection(int fd);
  std::string ReadRequest(int fd) const;

  Responder responder_;
  int listen_fd_ = -1;
  int port_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<std::string> requests_;
};

// The lines of a request's header block: the request line first, the blank line left out.
std::vector<std::string> RequestHeaderLines(const std::string& request);

}  // namespace lecdl::test
