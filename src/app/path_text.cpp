#include "app/path_text.h"

#include <iconv.h>

#include <cerrno>

#include <optional>

#include "text/encoding.h"

namespace lecdl {

namespace {

// The whole text converted, or nothing when any of it cannot be.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  bool ok = true;
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::string PathText(std::string_view nativePath) {
  if (auto text = Convert("GB18030", "UTF-8", nativePath)) return *text;
  return Utf8ToGbk(nativePath);
}

std::filesystem::path TextPath(std::string_view text) {
  if (auto native = Convert("UTF-8", "GB18030", text)) return std::filesystem::path(*native);
  return std::filesystem::path(GbkToUtf8(text));
}

}  // namespace lecdl
