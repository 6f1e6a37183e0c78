#include "test_server.h"

#include <chrono>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace lecdl::test {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

constexpr std::string_view kPatternAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";

// Longest time a stalled handler holds on, should a test forget to stop its server.
constexpr std::chrono::seconds kStallCeiling{60};

}  // namespace

bool RecordedRequest::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return SameName(h.first, name); });
}

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) return value;
  }
  return {};
}

std::string PatternBytes(size_t offset, size_t size) {
  std::string out(size, '\0');
  for (size_t i = 0; i < size; ++i) out[i] = kPatternAlphabet[(offset + i) % kPatternAlphabet.size()];
  return out;
}

TestServer::TestServer() {
  // Clients under test open a connection per request; idle ones must not hold up stop().
  server_.set_keep_alive_timeout(1);
  server_.set_read_timeout(5);
  server_.set_write_timeout(5);
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("test server: cannot bind a loopback port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() only reaches a server that is already running: wait for it, or a quick destruction
  // would leave the thread listening forever.
  for (int i = 0; i < 5000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopping_changed_.notify_all();
  server_.stop();
  thread_.join();
}

std::string TestServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

TestServer::Handler TestServer::Recording(Handler handler) {
  return [this, handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
    {
      RecordedRequest record{req.method, req.target, {req.headers.begin(), req.headers.end()}, req.body};
      std::lock_guard lock(mutex_);
      requests_.push_back(std::move(record));
    }
    handler(req, res);
  };
}

void TestServer::Get(const std::string& pattern, Handler handler) { server_.Get(pattern, Recording(std::move(handler))); }

void TestServer::Post(const std::string& pattern, Handler handler) {
  server_.Post(pattern, Recording(std::move(handler)));
}

void TestServer::Text(const std::string& path, std::string body, int status) {
  Get(path, [body = std::move(body), status](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, "text/html");
  });
}

void TestServer::Redirect(const std::string& path, const std::string& target, int status) {
  Get(path, [target, status](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(target, status);
    res.set_content("moved", "text/plain");
  });
}

void TestServer::Stall(const std::string& path, std::string head) {
  Get(path, [this, head = std::move(head)](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [this, head](size_t offset, httplib::DataSink& sink) {
      if (offset == 0 && !head.empty()) return sink.write(head.data(), head.size());
      Pause(kStallCeiling);
      return false;
    });
  });
}

void TestServer::Trickle(const std::string& path, std::string chunk, std::chrono::milliseconds interval) {
  Get(path, [this, chunk = std::move(chunk), interval](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [this, chunk, interval](size_t, httplib::DataSink& sink) {
      return sink.write(chunk.data(), chunk.size()) && Pause(interval);
    });
  });
}

void TestServer::Huge(const std::string& path, size_t size) {
  Get(path, [size](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(size, "application/octet-stream",
                             [](size_t offset, size_t length, httplib::DataSink& sink) {
                               const std::string piece = PatternBytes(offset, std::min<size_t>(length, 64 * 1024));
                               return sink.write(piece.data(), piece.size());
                             });
  });
}

std::vector<RecordedRequest> TestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

size_t TestServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

bool TestServer::Pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !stopping_changed_.wait_for(lock, duration, [this] { return stopping_; });
}

}  // namespace lecdl::test
