// Video files: every partial answer must be the matching slice of the whole
// file, with headers a resuming downloader can rely on.
#include <string>

#include "catalog.h"
#include "pages.h"
#include "site_fixture.h"

namespace {

class VideoRangeTest : public DemoSiteTest {};

TEST_F(VideoRangeTest, PartialAnswersAreSlicesOfTheWholeFile) {
  const demo::Series* s = demo::FindSeries(demo::ids::kExampleA);
  ASSERT_NE(s, nullptr);
  const std::string path = demo::VideoPath(*s, 1);
  auto whole = Get(path);
  ASSERT_TRUE(whole);
  ASSERT_EQ(whole->status, 200);
  const std::string& full = whole->body;
  const long long size = s->episodes[0].size;
  ASSERT_EQ(static_cast<long long>(full.size()), size);
  EXPECT_EQ(whole->get_header_value("Content-Length"), std::to_string(size));
  EXPECT_EQ(whole->get_header_value("Accept-Ranges"), "bytes");
  EXPECT_EQ(full.substr(0, 3), "FLV");

  struct Case {
    std::string range;
    long long first;
    long long last;
  };
  const Case cases[] = {
      {"bytes=0-0", 0, 0},
      {"bytes=0-99", 0, 99},
      {"bytes=1000000-", 1000000, size - 1},
      {"bytes=-500", size - 500, size - 1},
      {"bytes=" + std::to_string(size - 1) + "-", size - 1, size - 1},
      {"bytes=12345-" + std::to_string(size + 5000), 12345, size - 1},  // end clamped
      {"bytes=-" + std::to_string(size + 1), 0, size - 1},              // suffix longer than file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    auto res = Get(path, {{"Range", c.range}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 206);
    long long length = c.last - c.first + 1;
    EXPECT_EQ(res->get_header_value("Content-Range"),
              "bytes " + std::to_string(c.first) + "-" + std::to_string(c.last) + "/" +
                  std::to_string(size));
    EXPECT_EQ(res->get_header_value("Content-Length"), std::to_string(length));
    EXPECT_TRUE(res->body == full.substr(c.first, length)) << "bytes differ";
  }
}

TEST_F(VideoRangeTest, UnsatisfiableAndIgnoredRanges) {
  const demo::Series* s = demo::FindSeries(demo::ids::kExampleB);
  const std::string path = demo::VideoPath(*s, 2);
  const long long size = s->episodes[1].size;
  const std::string etag = Get(path, {{"Range", "bytes=0-0"}})->get_header_value("ETag");
  ASSERT_FALSE(etag.empty());

  struct Case {
    httplib::Headers headers;
    int status;
    std::string content_range;
  };
  const Case cases[] = {
      {{{"Range", "bytes=" + std::to_string(size) + "-"}}, 416, "bytes */" + std::to_string(size)},
      {{{"Range", "bytes=-0"}}, 416, "bytes */" + std::to_string(size)},
      {{{"Range", "bytes=0-1,5-6"}}, 200, ""},  // several ranges: the whole file
      {{{"Range", "bytes=10-20"}, {"If-Range", "\"stale\""}}, 200, ""},
      {{{"Range", "bytes=10-20"}, {"If-Range", etag}}, 206,
       "bytes 10-20/" + std::to_string(size)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.headers.begin()->second);
    auto res = Get(path, c.headers);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, c.status);
    EXPECT_EQ(res->get_header_value("Content-Range"), c.content_range);
    if (c.status == 200) {
      EXPECT_EQ(static_cast<long long>(res->body.size()), size);
    }
  }
}

TEST_F(VideoRangeTest, BothSpellingsOfTheAddressServeTheSameFile) {
  const demo::Series* s = demo::FindSeries(demo::ids::kLong);
  const std::string path = demo::VideoPath(*s, 200);
  auto a = Get(path, {{"Range", "bytes=-4096"}});
  auto b = Get("/cn" + path, {{"Range", "bytes=-4096"}});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->status, 206);
  EXPECT_TRUE(a->body == b->body);
  EXPECT_EQ(Get("/v/" + std::string(demo::ids::kLong) + "_201.flv")->status, 404);
}

}  // namespace
