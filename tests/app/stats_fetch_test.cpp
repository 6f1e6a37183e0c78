#include "net/stats_fetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "support/raw_server.h"
#include "support/test_server.h"
#include "unused_port.h"

namespace lecdl {
namespace {

using Clock = std::chrono::steady_clock;

TEST(StatsFetch, SplitsAddressesItsOwnWay) {
  struct Case {
    std::string address, host;
    int port;
    std::string path;
  };
  const Case cases[] = {
      {"http://Stats.Example:8080/down/zxrs/3.php?a=1", "stats.example", 8080, "/down/zxrs/3.php?a=1"},
      {"HTTP://s1/x", "s1", 80, "/x"},
      {"s1:81/p/q", "s1", 81, "/p/q"},  // no scheme: split the same way
      {"s1/p", "s1", 80, "/p"},
      {"http://s1:8765", "s1", 8765, "/"},  // no path
      {"http://s1", "s1", 80, "/"},
      {"s1:abc/p", "s1", 0, "/p"},                  // a port that is no number
      {"https://h/x", "https", 0, "//h/x"},       // not recognised: fails on connect
      {"http://A.b/B.htm", "a.b", 80, "/B.htm"},  // the path keeps its case
  };
  for (const Case& c : cases) {
    const StatsAddress split = SplitStatsAddress(c.address);
    EXPECT_EQ(split.host, c.host) << c.address;
    EXPECT_EQ(split.port, c.port) << c.address;
    EXPECT_EQ(split.path, c.path) << c.address;
  }
}

TEST(StatsFetch, CompletesOnlyTheHeaderLinesTheCallerLeftOut) {
  const std::string accept =
      "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
  const std::string referer = "Referer: http://h/p\r\n";
  const std::string language = "Accept-Language: zh-cn\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", accept + referer + language},
      {"accept: text/x\r\n", "accept: text/x\r\n" + referer + language},
      {"X-A: 1\r\nREFERER: r\r\n", "X-A: 1\r\nREFERER: r\r\n" + accept + language},
      // "Accept-Language: " is not "Accept: "
      {"Accept-Language: en\r\n", "Accept-Language: en\r\n" + accept + referer},
  };
  for (const auto& [given, sent] : cases) EXPECT_EQ(CompleteStatsHeaders(given, "http://h/p"), sent) << given;
}

TEST(StatsFetch, RequestLinesAndBodiesAsSent) {
  struct Case {
    std::string method, headers, body;
    std::string requestLine;
    std::vector<std::string> mustHave;
    std::string sentBody;
  };
  const Case cases[] = {
      {"", "", "ignored", "GET /s/3.php?x=1 HTTP/1.1",
       {"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", "Accept-Language: zh-cn"}, ""},
      {"PUT", "", "ignored", "GET /s/3.php?x=1 HTTP/1.1", {}, ""},
      {"POST", "", "a=1&b=2", "POST /s/3.php?x=1 HTTP/1.1",
       {"Content-Type: application/x-www-form-urlencoded", "Content-Length: 7"}, "a=1&b=2"},
      {"post", "X-Mine: 1\r\n", "k=v", "post /s/3.php?x=1 HTTP/1.1", {"X-Mine: 1", "Content-Length: 3"}, "k=v"},
  };
  for (const Case& c : cases) {
    test::RawServer server;
    StatsRequest request;
    request.address = server.Url("/s/3.php?x=1");
    request.method = c.method;
    request.headers = c.headers;
    request.body = c.body;
    EXPECT_EQ(StatsFetch(request).body, "ok");
    ASSERT_EQ(server.Requests().size(), 1u) << c.method;
    const std::string raw = server.Requests()[0];
    const auto lines = test::RequestHeaderLines(raw);
    EXPECT_EQ(lines.at(0), c.requestLine);
    for (const std::string& line : c.mustHave) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << c.method << ": " << line;
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Referer: " + request.address), lines.end());
    EXPECT_EQ(raw.substr(raw.find("\r\n\r\n") + 4), c.sentBody) << c.method;
  }
}

TEST(StatsFetch, BodyCutAtZeroAndRawHeadersWithinTheirBuffer) {
  const std::string shortHeader = "X-Short: 1";
  const std::string longHeader = "X-Long: " + std::string(1100, 'x');
  test::RawServer server([&](const std::string& request) {
    const bool isLong = request.find("/long") != std::string::npos;
    return test::RawServer::Response({isLong ? longHeader : shortHeader}, std::string("text\0rest", 9));
  });
  StatsRequest request;
  request.address = server.Url("/short");
  request.wantHeaders = true;
  StatsResponse response = StatsFetch(request);
  EXPECT_EQ(response.body, "text");
  EXPECT_EQ(response.rawHeaders, "HTTP/1.1 200 OK\r\n" + shortHeader + "\r\nContent-Length: 9\r\n\r\n");

  request.address = server.Url("/long");
  response = StatsFetch(request);
  EXPECT_EQ(response.body, "text");
  EXPECT_EQ(response.rawHeaders, std::string(1024, ' '));

  request.wantHeaders = false;
  EXPECT_EQ(StatsFetch(request).rawHeaders, "");
}

TEST(StatsFetch, UnreachableOrSilentHostGivesUpWithinItsTimeouts) {
  const auto start = Clock::now();
  StatsRequest request;
  request.address = "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/down/zxrs/3.php";
  request.wantHeaders = true;
  const StatsResponse refused = StatsFetch(request);
  EXPECT_EQ(refused.body, "");
  EXPECT_EQ(refused.rawHeaders, std::string(1024, ' '));
  EXPECT_EQ(StatsFetch("https://127.0.0.1/x"), "");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

  // A server that sends a little, then nothing: the receive time-out ends the request.
  test::TestServer server;
  server.Stall("/stall", "partial");
  request = StatsRequest();
  request.address = server.Url("/stall");
  request.timeoutMs = 300;
  const auto stalledStart = Clock::now();
  EXPECT_EQ(StatsFetch(request).body, "partial");
  EXPECT_LT(Clock::now() - stalledStart, std::chrono::seconds(5));
}

}  // namespace
}  // namespace lecdl
