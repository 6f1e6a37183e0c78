// Received cookies and redirect target, scanned from the response header lines.

#include "net/response.h"

#include "net/cookies.h"
#include "text/extract.h"
#include "text/text.h"

namespace lecdl {

void FillFetchResult(std::string_view rawHeaders, std::string* jar, FetchResult& result) {
  result.rawHeaders = std::string(rawHeaders);
  result.location.clear();
  std::string cookies;
  // Both tests match anywhere in a line, so "Content-Location:" sets the location too.
  for (const std::string& line : SplitText(rawHeaders, "\r\n")) {
    if (FindText(line, "Location:") != -1) result.location = HeaderValue(line);
    if (FindText(line, "Set-Cookie") != -1) {
      cookies += TrimSpaces(TextBetween(line, "Set-Cookie:", ";"));
      cookies += "; ";
    }
  }
  result.receivedCookies = LeftText(cookies, static_cast<int>(cookies.size()) - 2);
  if (jar != nullptr) MergeCookies(*jar, result.receivedCookies);
  if (result.location.empty()) result.location = result.rawHeaders;
}

}  // namespace lecdl
