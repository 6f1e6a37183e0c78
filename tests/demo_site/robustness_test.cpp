// Whatever a client sends, the site answers and stays up.
#include <string>

#include "site_fixture.h"

namespace {

class RobustnessTest : public DemoSiteTest {};

TEST_F(RobustnessTest, HostileTargetsGetAnAnswer) {
  const std::string long_id(6000, '9');
  const std::string targets[] = {
      "/serie_.shtml",
      "/serie_" + long_id + ".shtml",
      "/serie_400050557.shtml.shtml",
      "/videourl_.shtml",
      "/videourl_400050557_0.shtml",
      "/videourl_400050557_99999999999999999999.shtml",
      "/videourl_400050557_-1.shtml",
      "/videourl_400050557_01.shtml",
      "/v/.flv",
      "/v/../../etc/passwd",
      "/cn/v/400050557_1.flvx",
      "/cn",
      "/s",
      "/s?sw=%&type=%zz&startPage=%",
      "/s?order=0&sw=%E5%AF%BC%E8%AE%BA&type=sw_title&startPage=2147483647",
      "/s?order=0&sw=%E5%AF%BC%E8%AE%BA&type=sw_title&startPage=-2147483648",
      "/s?order=0&sw=%E5%AF%BC%E8%AE%BA&type=sw_title&startPage=99999999999999999999",
      "/s?sw=%FF%FE%00%C3&type=all",
      "/down/chaoxing/cx.php?cg=",
      "/down/chaoxing/cx.php?cg=1&cg=0",
      "/%00%01",
  };
  for (const std::string& t : targets) {
    SCOPED_TRACE(t.substr(0, 80));
    auto res = Get(t);
    ASSERT_TRUE(res);
    EXPECT_LT(res->status, 500);
  }
  auto bad_range = Get("/v/400050557_1.flv", {{"Range", "bytes=abc"}});
  ASSERT_TRUE(bad_range);
  EXPECT_LT(bad_range->status, 500);
  EXPECT_EQ(Get("/serie_400050557.shtml")->status, 200);
}

TEST_F(RobustnessTest, RequestLogKeepsTargetsInOrder) {
  Server().Site().Log().Clear();
  Get("/serie_400004700.shtml");
  Get("/s?order=0&sw=%E7%8E%8B&type=sw_teacher");
  Get("/down/chaoxing/cx.php?cg=0");
  auto log = Server().Site().Log().Snapshot();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].method, "GET");
  EXPECT_EQ(log[0].target, "/serie_400004700.shtml");
  EXPECT_EQ(log[1].target, "/s?order=0&sw=%E7%8E%8B&type=sw_teacher");
  EXPECT_EQ(Server().Site().Log().Targets("/down/").size(), 1u);
}

}  // namespace
