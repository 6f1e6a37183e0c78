// What a fetch reports from the response header block: rawHeaders, location, receivedCookies.

#include <gtest/gtest.h>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/raw_server.h"

namespace lecdl {
namespace {

using test::QuickRequest;
using test::RawServer;

struct HeaderCase {
  std::vector<std::string> lines;
  const char* cookies;
  const char* location;  // nullptr: the whole raw header block
};

TEST(ResponseHeaders, CookiesAndLocationAreScannedLineByLine) {
  const HeaderCase cases[] = {
      {{"Set-Cookie: a=1; path=/", "Set-Cookie: b=2; path=/"}, "a=1; b=2", nullptr},
      {{"Content-Location: /other"}, "", "/other"},  // "Location:" anywhere in a line
      {{"Location: /first", "Content-Location: /second"}, "", "/second"},
      {{"location: /lower"}, "", nullptr},  // the test is case-sensitive
      {{"Location:   "}, "", nullptr},      // an empty value does not count
      {{"Set-Cookie: c=3"}, "", nullptr},   // no ";": an empty entry
      {{"Set-Cookie: a=1; path=/", "Set-Cookie: c=3", "Set-Cookie: b=2; path=/"}, "a=1; ; b=2", nullptr},
      {{"set-cookie: x=1; path=/"}, "", nullptr},
      {{"X-Note: Set-Cookie: z=9; q"}, "z=9", nullptr},
  };
  for (const HeaderCase& c : cases) {
    const std::string response = RawServer::Response(c.lines, "body");
    RawServer server([&](const std::string&) { return response; });
    FetchResult result;
    EXPECT_EQ(WebFetch(QuickRequest(server.Url("/r")), result), "body");

    const std::string block = response.substr(0, response.find("\r\n\r\n") + 4);
    const std::string context = c.lines.front();
    EXPECT_EQ(result.rawHeaders, block) << context;
    EXPECT_EQ(result.receivedCookies, c.cookies) << context;
    EXPECT_EQ(result.location, c.location ? c.location : block) << context;
  }
}

TEST(ResponseHeaders, BlockBeyondTheHeaderBufferReadsAsNone) {
  // The block, blank line included, must fit with a terminating zero into 5000 bytes.
  for (const size_t size : {size_t{4999}, size_t{5000}}) {
    const std::string bare = RawServer::Response({"Location: /next", "X-Pad: "}, "x");
    const size_t bareBlock = bare.find("\r\n\r\n") + 4;
    const std::string response = RawServer::Response({"Location: /next", "X-Pad: " + std::string(size - bareBlock, 'p')}, "x");
    ASSERT_EQ(response.find("\r\n\r\n") + 4, size);
    RawServer server([&](const std::string&) { return response; });
    FetchResult result;
    EXPECT_EQ(WebFetch(QuickRequest(server.Url("/big")), result), "x");
    if (size == 4999) {
      EXPECT_EQ(result.rawHeaders.size(), size);
      EXPECT_EQ(result.location, "/next");
    } else {
      EXPECT_EQ(result.rawHeaders, "");
      EXPECT_EQ(result.location, "");
    }
  }
}

TEST(ResponseHeaders, BareLineFeedsComeBackAsCrLf) {
  RawServer server([](const std::string&) { return std::string("HTTP/1.1 200 OK\nX-A: 1\nContent-Length: 2\n\nok"); });
  FetchResult result;
  EXPECT_EQ(WebFetch(QuickRequest(server.Url("/lf")), result), "ok");
  EXPECT_EQ(result.rawHeaders, "HTTP/1.1 200 OK\r\nX-A: 1\r\nContent-Length: 2\r\n\r\n");
}

}  // namespace
}  // namespace lecdl
