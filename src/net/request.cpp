// The request of a fetch: agent, header lines and body.

#include "net/request.h"

#include "text/extract.h"

namespace lecdl {

std::string RequestAgent(std::string_view extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", 1, true) == -1) return std::string(DefaultUserAgent);
  // The value is cut case-sensitively; a differently spelled line falls back to the value after
  // the first ":" of the whole header text.
  std::string agent = TrimSpaces(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
  if (agent.empty()) agent = HeaderValue(extraHeaders);
  return agent;
}

std::string RequestHeaderText(const FetchRequest& request) {
  // Each test looks at the text built so far and is case-sensitive, so a caller's "accept:"
  // line still gets the default Accept line added.
  std::string text = request.extraHeaders;
  if (FindText(text, "Referer:") == -1) text += (text.empty() ? "Referer: " : "\r\nReferer: ") + request.url;
  if (FindText(text, "Accept:") == -1) text += "\r\nAccept: */*";
  if (FindText(text, "Accept-Language:") == -1) text += "\r\nAccept-Language: zh-cn";
  if (FindText(text, "Content-Type:") == -1) text += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (request.cookies != nullptr && !request.cookies->empty()) text += "\r\nCookie: " + *request.cookies;
  return text;
}

const std::string& RequestBody(const FetchRequest& request) {
  return request.postBytes.empty() ? request.postText : request.postBytes;
}

TextList RequestHeaderLines(std::string_view headerText) {
  TextList lines;
  for (std::string& line : SplitText(headerText, "\r\n")) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace lecdl
