// What goes over the wire, byte for byte, as a raw listener receives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/raw_server.h"

namespace lecdl {
namespace {

using test::QuickRequest;
using test::RawServer;
using test::RequestHeaderLines;

constexpr std::chrono::seconds kWait{5};

std::string Host(const RawServer& server) { return "Host: 127.0.0.1:" + std::to_string(server.Port()); }
std::string Agent() { return "User-Agent: " + std::string(DefaultUserAgent); }

// The only request the server saw.
std::string OnlyRequest(const RawServer& server) {
  EXPECT_TRUE(server.WaitForRequests(1, kWait));
  const auto requests = server.Requests();
  EXPECT_EQ(requests.size(), 1u);
  return requests.empty() ? std::string() : requests.front();
}

TEST(RequestBytes, PlainGetSendsTheFourDefaultHeadersInOrder) {
  RawServer server;
  // Upper-case scheme and mixed-case path: the scheme is read ignoring case, the path is kept.
  const std::string address = "HTTP://127.0.0.1:" + std::to_string(server.Port()) + "/Dir/Page.shtml?Id=7";
  FetchResult result;
  EXPECT_EQ(WebFetch(QuickRequest(address), result), "ok");

  EXPECT_EQ(OnlyRequest(server), "GET /Dir/Page.shtml?Id=7 HTTP/1.1\r\n" + Host(server) + "\r\n" + Agent() +
                                     "\r\n"
                                     "Referer: " +
                                     address +
                                     "\r\n"
                                     "Accept: */*\r\n"
                                     "Accept-Language: zh-cn\r\n"
                                     "Content-Type: application/x-www-form-urlencoded\r\n"
                                     "\r\n");
}

TEST(RequestBytes, PathBytesARequestLineCannotCarryAreEscaped) {
  RawServer server;
  const std::string address = server.Url("/a b/\xB0\xA1/../C\x01");
  WebFetch(QuickRequest(address));
  const auto lines = RequestHeaderLines(OnlyRequest(server));
  ASSERT_FALSE(lines.empty());
  // Dot segments stay as written; the Referer carries the address unchanged.
  EXPECT_EQ(lines[0], "GET /a%20b/%B0%A1/../C%01 HTTP/1.1");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Referer: " + address), lines.end());
}

TEST(RequestBytes, PostSendsTheBodyWithoutTerminatorOrExpect) {
  struct Case {
    const char* name;
    std::string postText;
    std::string postBytes;
    std::string sent;
  };
  const Case cases[] = {
      {"text", "a=1&b=2", "", "a=1&b=2"},
      {"bytes win over text", "ignored", std::string("x\0y\xFF", 4), std::string("x\0y\xFF", 4)},
      {"empty", "", "", ""},
      {"large", "", std::string(2u << 20, 'q'), std::string(2u << 20, 'q')},
  };
  for (const Case& c : cases) {
    RawServer server;
    FetchRequest request = QuickRequest(server.Url("/post"));
    request.method = HttpMethod::Post;
    request.postText = c.postText;
    request.postBytes = c.postBytes;
    WebFetch(request);
    const std::string expectedHead = "POST /post HTTP/1.1\r\n" + Host(server) + "\r\n" + Agent() +
                                     "\r\n"
                                     "Referer: " +
                                     request.url +
                                     "\r\n"
                                     "Accept: */*\r\n"
                                     "Accept-Language: zh-cn\r\n"
                                     "Content-Type: application/x-www-form-urlencoded\r\n"
                                     "Content-Length: " +
                                     std::to_string(c.sent.size()) + "\r\n\r\n";
    const std::string got = OnlyRequest(server);
    EXPECT_EQ(got.substr(0, expectedHead.size()), expectedHead) << c.name;
    EXPECT_TRUE(got.substr(expectedHead.size()) == c.sent) << c.name;
  }
}

// The request's header lines after the request line, without Host and the agent line.
std::vector<std::string> CallerVisibleLines(const std::string& request) {
  std::vector<std::string> lines = RequestHeaderLines(request);
  if (!lines.empty()) lines.erase(lines.begin());
  std::erase_if(lines, [](const std::string& line) {
    return line.starts_with("Host:") || line.starts_with("User-Agent:");
  });
  return lines;
}

TEST(RequestBytes, DefaultsAreAddedOnlyForHeadersAbsentInExactLetterCase) {
  struct Case {
    const char* extra;
    std::vector<std::string> sent;  // with "R" standing for the Referer default
  };
  const Case cases[] = {
      {"Accept: text/html", {"Accept: text/html", "R", "Accept-Language: zh-cn",
                             "Content-Type: application/x-www-form-urlencoded"}},
      {"accept: text/html", {"accept: text/html", "R", "Accept: */*", "Accept-Language: zh-cn",
                             "Content-Type: application/x-www-form-urlencoded"}},
      {"Referer: http://elsewhere/", {"Referer: http://elsewhere/", "Accept: */*", "Accept-Language: zh-cn",
                                      "Content-Type: application/x-www-form-urlencoded"}},
      {"Accept-Language: en", {"Accept-Language: en", "R", "Accept: */*",
                               "Content-Type: application/x-www-form-urlencoded"}},
      // The tests look anywhere in the text, not at header names.
      {"X-Note: Content-Type: none", {"X-Note: Content-Type: none", "R", "Accept: */*", "Accept-Language: zh-cn"}},
      {"X-A: 1\r\nX-B: 2", {"X-A: 1", "X-B: 2", "R", "Accept: */*", "Accept-Language: zh-cn",
                            "Content-Type: application/x-www-form-urlencoded"}},
  };
  for (const Case& c : cases) {
    RawServer server;
    FetchRequest request = QuickRequest(server.Url("/h"));
    request.extraHeaders = c.extra;
    WebFetch(request);
    std::vector<std::string> expected = c.sent;
    std::replace(expected.begin(), expected.end(), std::string("R"), "Referer: " + request.url);
    EXPECT_EQ(CallerVisibleLines(OnlyRequest(server)), expected) << c.extra;
  }
}

TEST(RequestBytes, AgentComesFromTheExtraHeadersWhenTheyNameOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"", nullptr},  // DefaultUserAgent
      {"User-Agent: Bot/1.0\r\nX-B: 2", "User-Agent: Bot/1.0"},
      {"user-agent: bot/2.0", "user-agent: bot/2.0"},
      // A name that is not a line of its own: the agent is the text between the marker and the
      // line end, or without a line end the value after the first ":" of the whole text.
      {"X-Note: User-Agent: Mini\r\nX-B: 2", "User-Agent: Mini"},
      {"X-Note: User-Agent: Mini", "User-Agent: User-Agent: Mini"},
  };
  for (const auto& [extra, agentLine] : cases) {
    RawServer server;
    FetchRequest request = QuickRequest(server.Url("/ua"));
    request.extraHeaders = extra;
    WebFetch(request);
    std::vector<std::string> agents = RequestHeaderLines(OnlyRequest(server));
    std::erase_if(agents, [](const std::string& line) {
      std::string lower = line.substr(0, 11);
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
      return lower != "user-agent:";
    });
    EXPECT_EQ(agents, std::vector<std::string>{agentLine ? agentLine : Agent()}) << extra;
  }
}

TEST(RequestBytes, CallerJarIsSentAsTheLastHeaderLine) {
  RawServer server;
  std::string jar = "a=1; b=2";
  FetchRequest request = QuickRequest(server.Url("/jar"));
  request.cookies = &jar;
  WebFetch(request);
  const auto lines = CallerVisibleLines(OnlyRequest(server));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Cookie: a=1; b=2");
}

TEST(RequestBytes, HttpGoesThroughTheProxyHttpsGoesDirect) {
  RawServer proxy([](const std::string&) { return RawServer::Response({}, "via proxy"); });
  std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());

  FetchRequest plain = QuickRequest("http://lecture.invalid/serie_1.shtml");
  plain.proxy = &proxyAddress;
  EXPECT_EQ(WebFetch(plain), "via proxy");
  const auto lines = RequestHeaderLines(OnlyRequest(proxy));
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines[0].starts_with("GET http://lecture.invalid")) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("/serie_1.shtml HTTP/1.1")) << lines[0];

  // An https address ignores the proxy and opens TLS to its own host and port.
  RawServer target;
  FetchRequest secure = QuickRequest("https://127.0.0.1:" + std::to_string(target.Port()) + "/x");
  secure.proxy = &proxyAddress;
  EXPECT_EQ(WebFetch(secure), "");
  const std::string hello = OnlyRequest(target);
  ASSERT_FALSE(hello.empty());
  EXPECT_EQ(hello[0], '\x16');  // a TLS handshake record
  EXPECT_EQ(proxy.Requests().size(), 1u);
}

}  // namespace
}  // namespace lecdl
