// A server held up by faults still stops at once.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "raw_http.h"
#include "site_server.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(FaultStopTest, StopWakesStalledAndTricklingAnswers) {
  const char* texts[] = {"stall:1000", "stall", "slow:1"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    demo::SiteOptions options;
    options.port = 0;
    std::string error;
    auto rule = demo::ParseFaultRule(std::string(text) + "@*", &error);
    ASSERT_TRUE(rule) << error;
    options.faults.push_back(*rule);
    demo::SiteServer server(options);

    // The client waits longer than the stop should take, far less than the
    // stall would last on its own (60 s).
    auto answer = std::async(std::launch::async, [port = server.Port()] {
      return rawhttp::Get(port, "/v/400050557_2.flv", {}, std::chrono::milliseconds(20000),
                          std::chrono::milliseconds(30000));
    });
    for (int i = 0; i < 500 && server.Site().VideoRequests("400050557_2") == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let it reach the wait

    const auto start = Clock::now();
    server.Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    rawhttp::Answer a = answer.get();
    EXPECT_EQ(a.status, 200);
    EXPECT_TRUE(a.closed);
    EXPECT_LT(a.body.size(), 2000u);
  }
}

}  // namespace
