#include "app/path_text.h"

#include "text/encoding.h"

namespace lecdl {

std::string PathText(std::string_view nativePath) {
  return WideToCodePage(CodePageToWide(nativePath, CodePageUtf8), CodePageGb18030);
}

std::filesystem::path TextPath(std::string_view text) {
  return std::filesystem::path(WideToCodePage(CodePageToWide(text, CodePageGb18030), CodePageUtf8));
}

}  // namespace lecdl
