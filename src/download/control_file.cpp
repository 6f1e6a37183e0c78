#include "download/control_file.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

namespace lecdl {

namespace {

constexpr std::string_view kMagic = "lecdl-part 1";
constexpr const char* kOriginAttribute = "user.xdg.origin.url";

std::optional<std::int64_t> ParseInt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool WriteAll(int fd, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::filesystem::path PartPathFor(const std::filesystem::path& target) {
  std::filesystem::path part = target;
  part += ".lecdl-part";
  return part;
}

std::optional<PartRecord> ReadPartRecord(const std::filesystem::path& partPath) {
  std::ifstream in(partPath, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  if (!std::getline(in, line) || line != kMagic) return std::nullopt;
  PartRecord record;
  bool haveUrl = false, haveTotal = false, haveDone = false;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string_view key(line.data(), eq);
    const std::string_view value(line.data() + eq + 1, line.size() - eq - 1);
    if (key == "url") {
      record.url = value;
      haveUrl = true;
    } else if (key == "total") {
      const auto n = ParseInt(value);
      if (!n) return std::nullopt;
      record.total = *n;
      haveTotal = true;
    } else if (key == "done") {
      const auto n = ParseInt(value);
      if (!n || *n < 0) return std::nullopt;
      record.done = *n;
      haveDone = true;
    }
  }
  if (!haveUrl || !haveTotal || !haveDone) return std::nullopt;
  return record;
}

bool WritePartRecord(const std::filesystem::path& partPath, const PartRecord& record) {
  std::ostringstream text;
  text << kMagic << "\nurl=" << record.url << "\ntotal=" << record.total << "\ndone=" << record.done << "\n";
  std::filesystem::path temp = partPath;
  temp += ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, text.str()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || ::rename(temp.c_str(), partPath.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

void RemovePartRecord(const std::filesystem::path& partPath) {
  std::error_code ignored;
  std::filesystem::remove(partPath, ignored);
}

std::string ReadOrigin(const std::filesystem::path& file) {
  char buffer[8192];
  const ssize_t n = ::getxattr(file.c_str(), kOriginAttribute, buffer, sizeof buffer);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

bool WriteOrigin(const std::filesystem::path& file, const std::string& url) {
  return ::setxattr(file.c_str(), kOriginAttribute, url.data(), url.size(), 0) == 0;
}

}  // namespace lecdl
