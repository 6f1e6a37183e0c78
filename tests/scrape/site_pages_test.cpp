#include "scrape/site_pages.h"

#include <gtest/gtest.h>

#include "text/encoding.h"

namespace lecdl {
namespace {

std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(SeriesIdOf, Table) {
  EXPECT_EQ(SeriesIdOf("http://h/serie_400050557.shtml"), "400050557");
  EXPECT_EQ(SeriesIdOf(" http://h/serie_12.shtml?x=serie_9.shtml "), "12");
  EXPECT_EQ(SeriesIdOf("http://h/serie_12"), "");
  EXPECT_EQ(SeriesIdOf("http://h/play_12.shtml"), "");
}

TEST(CourseTitleOf, Table) {
  EXPECT_EQ(CourseTitleOf("<html><title>" + std::string("\xE6\x95\xB0\xE5\xAD\xA6") + "-" +
                          "\xE8\xB6\x85\xE6\x98\x9F\xE5\xAD\xA6\xE6\x9C\xAF\xE8\xA7\x86\xE9\xA2\x91" +
                          "-x</title>"),
            G("数学"));
  EXPECT_EQ(CourseTitleOf("<title>%E6%95%B0%E5%AD%A6-%E8%B6%85%E6%98%9F%E5%AD%A6%E6%9C%AF%E8%A7%86%E9%A2%91</title>"),
            G("数学"));
  EXPECT_EQ(CourseTitleOf("<title>abc</title>"), "");  // no site suffix
  EXPECT_EQ(CourseTitleOf("no title at all"), "");
}

TEST(EpisodeLinksOf, CutsTheBlockAndMatchesLinkMarkersInAnyCase) {
  const std::string block = "<div class=\"smode clearfix\"><li><a title=\"a\" href=\"/play_1_1.shtml\" target=x>"
                            "<LI><A title=\"b\" href=\"/play_1_2.shtml\" TARGET=y><div class=\"dmode clearfix\">";
  const TextList links = EpisodeLinksOf("<li><a before target=" + block + "<li><a after target=");
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0], "title=\"a\" href=\"/play_1_1.shtml\"");
  EXPECT_EQ(links[1], "title=\"b\" href=\"/play_1_2.shtml\"");
  EXPECT_TRUE(EpisodeLinksOf("<li><a x target=").empty());  // no episode block
  // The block markers themselves are case-sensitive.
  EXPECT_TRUE(EpisodeLinksOf("<DIV class=\"smode clearfix\"><li><a x target=<div class=\"dmode clearfix\">").empty());
}

TEST(EpisodeCuts, Table) {
  const std::string link = "title=\"" + G("第1讲") + "\" href=\"http://h/play_400050557_1.shtml\"";
  EXPECT_TRUE(IsEpisodeOf(link, "400050557"));
  EXPECT_FALSE(IsEpisodeOf(link, "400004700"));
  EXPECT_TRUE(IsEpisodeOf(link, ""));  // an empty series id lets every play link pass
  EXPECT_FALSE(IsEpisodeOf("title=\"x\" href=\"/serie_1.shtml\"", ""));
  EXPECT_EQ(PlayIdOf(link), "400050557_1");
  EXPECT_EQ(EpisodeTitleOf(link), G("第1讲"));
  EXPECT_EQ(EpisodeTitleOf("href=\"/play_1.shtml\""), "");
}

TEST(VideoAddressOf, Table) {
  Hosts hosts;
  hosts.video = "v.example:81";
  EXPECT_EQ(VideoAddressOf("file: \"http://x.cn/a/b.flv\", other: \"y\"", hosts), "http://v.example:81/a/b.flv");
  EXPECT_EQ(VideoAddressOf("", hosts), "http://v.example:81/");
  EXPECT_EQ(VideoAddressOf("no video named here", hosts), "http://v.example:81/");
  EXPECT_EQ(SeriesAddressOf("42", hosts), "http://127.0.0.1:8765/serie_42.shtml");
}

}  // namespace
}  // namespace lecdl
