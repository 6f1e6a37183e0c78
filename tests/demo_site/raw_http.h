// A bare HTTP/1.1 GET over a socket that reports exactly what arrived, even
// when the server breaks the answer off; every wait is bounded.
#pragma once

#include <chrono>
#include <string>

namespace rawhttp {

struct Answer {
  bool connected = false;
  int status = 0;
  std::string head;  // status line and headers, without the blank line
  std::string body;  // the bytes after the head, as received (not de-chunked)
  bool closed = false;  // the server ended the connection
};

// Sends "GET target" with `extra_headers` ("Name: value\r\n" lines) and reads
// until the server closes, nothing arrives for `idle`, or `total` has passed.
Answer Get(int port, const std::string& target, const std::string& extra_headers = {},
           std::chrono::milliseconds idle = std::chrono::milliseconds(2000),
           std::chrono::milliseconds total = std::chrono::milliseconds(20000));

// A header's value from `head`, "" when absent; the name matches in any case.
std::string Header(const Answer& a, const std::string& name);

}  // namespace rawhttp
