// Fault switch texts and the bookkeeping of which requests a fault acts on.
#include <gtest/gtest.h>

#include <string>

#include "faults.h"

namespace {

using demo::FaultKind;
using demo::FaultSpec;

TEST(FaultSpecTest, TextsThatParse) {
  struct Case {
    std::string text;
    FaultKind kind;
    std::int64_t arg;
    int times;
    int retry;
    int hold;
  };
  const std::int64_t none = demo::kDefaultArg;
  const Case cases[] = {
      {"cut", FaultKind::kCut, none, 0, -1, 60},
      {"cut:1000,times=1", FaultKind::kCut, 1000, 1, -1, 60},
      {"cut:-1", FaultKind::kCut, -1, 0, -1, 60},
      {"cut:times=2", FaultKind::kCut, none, 2, -1, 60},
      {"stall:4096,secs=5", FaultKind::kStall, 4096, 0, -1, 5},
      {"status:503:retry=1", FaultKind::kStatus, 503, 0, 1, 60},
      {"status:403,times=3", FaultKind::kStatus, 403, 3, -1, 60},
      {"chunked", FaultKind::kChunked, none, 0, -1, 60},
      {"ignore-range,times=1", FaultKind::kIgnoreRange, none, 1, -1, 60},
      {"grow:-500", FaultKind::kGrow, -500, 0, -1, 60},
      {"slow:1", FaultKind::kSlow, 1, 0, -1, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    auto faultSpec = demo::ParseFaultSpec(c.text, &error);
    ASSERT_TRUE(faultSpec) << error;
    EXPECT_EQ(faultSpec->kind, c.kind);
    EXPECT_EQ(faultSpec->arg, c.arg);
    EXPECT_EQ(faultSpec->times, c.times);
    EXPECT_EQ(faultSpec->retry_after, c.retry);
    EXPECT_EQ(faultSpec->hold_seconds, c.hold);
  }
}

TEST(FaultSpecTest, TextsThatAreRefusedWithAReason) {
  const char* bad[] = {
      "",           "cutt",          "cut:abc",       "cut:1:2",        "cut:times=0",
      "cut:times=", "cut,retry=1",   "status:200",    "status:600",     "status:404,secs=1",
      "chunked:5",  "ignore-range:1", "slow:0",       "stall:-1",       "cut:99999999999999999999",
      "cut,foo=1",  "cut,",          "cut:times=-1",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    std::string error;
    EXPECT_FALSE(demo::ParseFaultSpec(text, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(FaultSpecTest, RulesNameAFileOrEveryFile) {
  std::string error;
  auto one = demo::ParseFaultRule("cut:10@400050557_2", &error);
  ASSERT_TRUE(one) << error;
  EXPECT_EQ(one->target, "400050557_2");
  EXPECT_EQ(one->faultSpec.arg, 10);
  auto all = demo::ParseFaultRule("status:503,retry=2@*", &error);
  ASSERT_TRUE(all) << error;
  EXPECT_EQ(all->target, "*");
  for (const char* text : {"cut", "cut@", "@400050557_2", "bad@*"}) {
    EXPECT_FALSE(demo::ParseFaultRule(text, &error)) << text;
  }
}

TEST(FaultTableTest, TimesCountGetsPerFileAndTheFilesOwnFaultComesFirst) {
  demo::FaultTable table;
  FaultSpec cut{FaultKind::kCut};
  cut.times = 1;
  FaultSpec status{FaultKind::kStatus};
  status.times = 1;
  table.Add("*", cut);
  table.Add("a", status);

  // "a": its own fault first, then the one for every file, then nothing.
  EXPECT_FALSE(table.Plan("a", false).shape);  // a HEAD uses nothing up
  EXPECT_EQ(table.Plan("a", true).shape->kind, FaultKind::kStatus);
  EXPECT_EQ(table.Plan("a", true).shape->kind, FaultKind::kCut);
  EXPECT_FALSE(table.Plan("a", true).shape);
  // "b" has its own count of the fault for every file.
  EXPECT_EQ(table.Plan("b", true).shape->kind, FaultKind::kCut);
  EXPECT_FALSE(table.Plan("b", true).shape);

  table.Set("*", FaultSpec{FaultKind::kChunked});  // replaces, counts start again
  EXPECT_EQ(table.Plan("b", true).shape->kind, FaultKind::kChunked);
  table.Clear();
  EXPECT_FALSE(table.Plan("a", true).shape);
}

TEST(FaultTableTest, GrowthFollowsEachAffectedGet) {
  demo::FaultTable table;
  FaultSpec grow{FaultKind::kGrow, 100};
  grow.times = 2;
  table.Set("a", grow);
  const std::int64_t want[] = {0, 100, 200, 200};
  for (std::int64_t w : want) {
    EXPECT_EQ(table.Plan("a", false).size_change, w);  // a HEAD sees the size now
    EXPECT_EQ(table.Plan("a", true).size_change, w);
  }
}

}  // namespace
