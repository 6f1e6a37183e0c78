#pragma once

// One HTTP exchange over libcurl. Knows nothing of the fetch options' defaults: it sends what it
// is told and collects what comes back, within the limits.

#include <optional>
#include <string>

#include "net/fetch.h"
#include "text/text.h"

namespace lecdl {

struct TransferSpec {
  std::string url;  // scheme://host:port/path, already escaped
  bool post = false;
  const std::string* body = nullptr;  // POST body; must outlive the transfer
  std::string agent;
  TextList headerLines;
  bool sharedCookieStore = true;  // false: no cookie engine at all
  bool followRedirects = true;
  const std::string* proxy = nullptr;  // "host:port"; used for http:// urls only
  FetchLimits limits;
};

struct TransferOutcome {
  std::string body;     // what arrived, up to limits.maxBodyBytes
  std::string headers;  // the last response's header block, lines ended by "\r\n"
  bool headersTooLong = false;
};

// Empty when the url cannot be turned into a request at all. Otherwise whatever arrived, also
// after a failure or a limit ended the transfer.
std::optional<TransferOutcome> RunTransfer(const TransferSpec& plan);

// The response header block must fit a 5000-byte, zero-terminated buffer: a block of more than
// 4999 bytes is reported as too long.
inline constexpr size_t kMaxHeaderBlockBytes = 4999;

}  // namespace lecdl
