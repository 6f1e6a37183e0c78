#include "raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace rawhttp {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

Answer Get(int port, const std::string& target, const std::string& extra_headers,
           std::chrono::milliseconds idle, std::chrono::milliseconds total) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + total;
  Answer a;
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return a;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return a;
  }
  a.connected = true;
  const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" +
                              extra_headers + "Connection: close\r\n\r\n";
  for (std::size_t sent = 0; sent < request.size();) {
    ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string all;
  char buf[64 * 1024];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    const auto wait = std::min(idle, left);
    if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) break;  // quiet: still open
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) {
      a.closed = true;
      break;
    }
    all.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  auto end = all.find("\r\n\r\n");
  if (end == std::string::npos) {
    a.head = all;
  } else {
    a.head = all.substr(0, end);
    a.body = all.substr(end + 4);
  }
  if (a.head.rfind("HTTP/1.", 0) == 0 && a.head.size() >= 12) {
    a.status = std::atoi(a.head.c_str() + 9);
  }
  return a;
}

std::string Header(const Answer& a, const std::string& name) {
  const std::string want = Lower(name) + ":";
  std::size_t from = a.head.find("\r\n");
  while (from != std::string::npos) {
    from += 2;
    std::size_t eol = a.head.find("\r\n", from);
    std::string line = a.head.substr(from, eol == std::string::npos ? eol : eol - from);
    if (Lower(line.substr(0, want.size())) == want) {
      std::string v = line.substr(want.size());
      while (!v.empty() && v.front() == ' ') v.erase(0, 1);
      return v;
    }
    from = eol;
  }
  return {};
}

}  // namespace rawhttp
