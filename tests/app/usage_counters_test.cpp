#include "app/usage_counters.h"

#include <gtest/gtest.h>

#include <chrono>

#include "app/memory_form.h"
#include "scrape/series_reader.h"
#include "scrape/site_fixture.h"
#include "unused_port.h"

namespace lecdl {
namespace {

using Clock = std::chrono::steady_clock;

TEST(UsageCounters, UsageLineFromTheCounterWithOneRetryForALongPiece) {
  struct Case {
    std::int64_t total;
    size_t requests;
  };
  // 10 bytes are taken at once; 11 are asked once more and then shown whatever they are.
  const Case cases[] = {{12345, 1}, {1234567890, 1}, {12345678901, 2}};
  for (const Case& c : cases) {
    demo::SiteOptions options;
    options.port = 0;
    options.usage_start = c.total;
    demo::SiteServer server(options);
    Hosts hosts;
    hosts.stats = server.HostPort();
    MemoryForm form;
    ShowUsageCount(form, hosts);
    EXPECT_EQ(form.LabelText(Label::UsageLine), UsageLineText(std::to_string(c.total)));
    EXPECT_EQ(server.Site().Log().Targets("/down/chaoxing/cx.php?cg=0").size(), c.requests) << c.total;
  }
}

class StatusText : public SiteTest {};

TEST_F(StatusText, StatusBarShowsTheAnswerWhole) {
  RefreshStatusText(form_, hosts_);
  EXPECT_EQ(form_.LabelText(Label::StatusBar), G("公告：演示站点运行正常，欢迎使用！"));
  EXPECT_EQ(Requests("/down/zxrs/3.php").size(), 1u);
}

TEST(UsageCounters, UnreachableHostsGiveEmptyTextsAtOnce) {
  Hosts hosts;
  hosts.stats = hosts.status = test::UnusedHost();
  MemoryForm form;
  form.SetLabel(Label::StatusBar, "old");
  const auto start = Clock::now();
  ShowUsageCount(form, hosts);
  RefreshStatusText(form, hosts);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(form.LabelText(Label::UsageLine), UsageLineText(""));
  EXPECT_EQ(form.LabelText(Label::StatusBar), "");
}

}  // namespace
}  // namespace lecdl
