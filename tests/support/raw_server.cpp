#include "raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace lecdl::test {

namespace {

constexpr int kPollMs = 50;
// A request that stops arriving for this long is taken as complete (or as not HTTP at all).
constexpr std::chrono::milliseconds kQuietEnd{1000};
constexpr size_t kMaxRequestBytes = 64u << 20;

bool Readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

// Content-Length of a complete header block, 0 without one.
size_t DeclaredLength(std::string_view head) {
  for (size_t at = head.find("\r\n"); at != std::string_view::npos; at = head.find("\r\n", at + 2)) {
    std::string_view line = head.substr(at + 2, head.find("\r\n", at + 2) - (at + 2));
    constexpr std::string_view name = "content-length:";
    if (line.size() < name.size()) continue;
    bool match = true;
    for (size_t i = 0; i < name.size() && match; ++i) match = std::tolower(static_cast<unsigned char>(line[i])) == name[i];
    if (match) return std::strtoull(std::string(line.substr(name.size())).c_str(), nullptr, 10);
  }
  return 0;
}

}  // namespace

RawServer::RawServer(Responder responder) : responder_(std::move(responder)) {
  if (!responder_) responder_ = [](const std::string&) { return Response({}, "ok"); };
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listen_fd_, 16) != 0 || ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (listen_fd_ >= 0) ::close(listen_fd_);
    throw std::runtime_error("raw server: cannot listen on a loopback port");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  thread_.join();
  ::close(listen_fd_);
}

std::string RawServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool RawServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

std::string RawServer::Response(const std::vector<std::string>& headerLines, std::string_view body) {
  std::string out = "HTTP/1.1 200 OK\r\n";
  for (const std::string& line : headerLines) out += line + "\r\n";
  out += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out += body;
  return out;
}

void RawServer::Serve() {
  while (!stopping_) {
    if (!Readable(listen_fd_, kPollMs)) continue;
    const int fd = ::accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) continue;
    HandleConnection(fd);
    ::close(fd);
  }
}

void RawServer::HandleConnection(int fd) {
  std::string request = ReadRequest(fd);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  arrived_.notify_all();
  const std::string response = responder_(request);
  for (size_t sent = 0; sent < response.size() && !stopping_;) {
    const ssize_t n = ::send(fd, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ::shutdown(fd, SHUT_WR);
}

std::string RawServer::ReadRequest(int fd) const {
  std::string request;
  auto quietSince = std::chrono::steady_clock::now();
  char buffer[16384];
  while (!stopping_ && request.size() < kMaxRequestBytes) {
    const size_t headEnd = request.find("\r\n\r\n");
    if (headEnd != std::string::npos &&
        request.size() >= headEnd + 4 + DeclaredLength(std::string_view(request).substr(0, headEnd + 2)))
      break;
    if (!Readable(fd, kPollMs)) {
      if (std::chrono::steady_clock::now() - quietSince > kQuietEnd) break;
      continue;
    }
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
    quietSince = std::chrono::steady_clock::now();
  }
  return request;
}

std::vector<std::string> RequestHeaderLines(const std::string& request) {
  std::vector<std::string> lines;
  const size_t end = request.find("\r\n\r\n");
  const std::string_view head = std::string_view(request).substr(0, end);
  for (size_t at = 0; at <= head.size();) {
    const size_t next = std::min(head.find("\r\n", at), head.size());
    lines.emplace_back(head.substr(at, next - at));
    at = next + 2;
  }
  return lines;
}

}  // namespace lecdl::test
