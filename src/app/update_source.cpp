#include "app/update_source.h"

#include "net/fetch.h"
#include "net/stats_fetch.h"
#include "text/text.h"

namespace lecdl {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// "HTTP/1.1 204 ..." -> true for every 2xx status line.
bool IsSuccess(std::string_view rawHeaders) {
  const auto space = rawHeaders.find(' ');
  if (!rawHeaders.starts_with("HTTP/") || space == std::string_view::npos) return false;
  return rawHeaders.substr(space + 1, 1) == "2";
}

}  // namespace

UpdateInfo ParseUpdateInfo(std::string_view text) {
  UpdateInfo info;
  bool seenVersion = false, seenMandatory = false, seenPage = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    at = next;
    if (line.empty()) {
      info.notes = std::string(text.substr(at));
      break;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string name = LowerAscii(TrimBlanks(line.substr(0, eq)));
    const std::string_view value = TrimBlanks(line.substr(eq + 1));
    auto take = [&](bool& seen, std::string& target) {
      if (!seen) target = std::string(value);
      seen = true;
    };
    if (name == "version") take(seenVersion, info.newestVersion);
    if (name == "mandatory") take(seenMandatory, info.mandatory);
    if (name == "page") take(seenPage, info.page);
  }
  return info;
}

UpdateInfo FetchUpdateInfo(const Hosts& hosts) {
  FetchRequest request;
  request.url = "http://" + hosts.update + std::string(kUpdatePath);
  request.limits.connectTimeoutMs = kStatsTimeoutMs;
  request.limits.totalTimeoutMs = 2 * kStatsTimeoutMs;
  request.limits.maxBodyBytes = 1u << 20;
  FetchResult result;
  const std::string body = WebFetch(request, result);
  if (!IsSuccess(result.rawHeaders)) return {};
  return ParseUpdateInfo(body);
}

}  // namespace lecdl
