// Every series page, read the way the scraper reads it, yields exactly the
// catalogue's course title, episodes, addresses and details.
#include <string>
#include <vector>

#include "catalog.h"
#include "cuts.h"
#include "site_fixture.h"

namespace {

using cuts::Between;
using cuts::RawBetween;
using cuts::PercentDecode;

class SeriesPagesTest : public DemoSiteTest {};

struct Link {
  std::string play_id;
  std::string title;
  bool own = false;  // "/play_" followed by the series id
};

std::vector<Link> ReadLinks(const std::string& page, const std::string& series_id) {
  std::string block =
      RawBetween(page, "<div class=\"smode clearfix\">", "<div class=\"dmode clearfix\">");
  std::vector<Link> links;
  for (const std::string& raw : cuts::BetweenAll(block, "<li><a", "target=")) {
    std::string link = PercentDecode(raw);
    links.push_back({Between(link, "/play_", ".shtml"), Between(link, "title=\"", "\" href="),
                     link.find("/play_" + series_id) != std::string::npos});
  }
  return links;
}

std::string Cleaned(const std::string& raw) {
  std::string text = cuts::TrimSpaces(PercentDecode(raw));
  text = cuts::ReplaceUpTo(text, "\t", "", 100);
  return cuts::ReplaceUpTo(text, "</p>", "", 100);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

TEST_F(SeriesPagesTest, CourseTitleAndEpisodeLinks) {
  for (const demo::Series& s : demo::AllSeries()) {
    SCOPED_TRACE(s.id);
    std::string page = Body("/serie_" + s.id + ".shtml");
    std::string head = PercentDecode(RawBetween(page, "<titl", "</title>"));
    EXPECT_EQ(Between(head, "e>", "-超星学术视频"), s.title_marker ? s.title : "");

    std::vector<Link> links = ReadLinks(page, s.id);
    if (!s.episode_block) {
      EXPECT_TRUE(links.empty());
      continue;
    }
    ASSERT_EQ(static_cast<int>(links.size()), s.LinkCount());
    size_t episode = 0;
    size_t foreign = 0;
    for (size_t pos = 1; pos <= links.size(); ++pos) {
      const Link& l = links[pos - 1];
      if (foreign < s.foreign_links.size() &&
          s.foreign_links[foreign].position == static_cast<int>(pos)) {
        EXPECT_FALSE(l.own) << "position " << pos;
        const demo::ForeignLink& f = s.foreign_links[foreign++];
        EXPECT_EQ(l.play_id, f.series_id + "_" + std::to_string(f.episode));
        continue;
      }
      const demo::Episode& e = s.episodes[episode++];
      EXPECT_TRUE(l.own) << "position " << pos;
      EXPECT_EQ(l.title, e.title) << "position " << pos;
      EXPECT_EQ(l.play_id, demo::PlayId(s, static_cast<int>(episode)));
    }
  }
}

TEST_F(SeriesPagesTest, AddressPagesLeadToTheVideoFiles) {
  for (const demo::Series& s : demo::AllSeries()) {
    for (int n = 1; n <= static_cast<int>(s.episodes.size()); ++n) {
      const demo::Episode& e = s.episodes[n - 1];
      std::string play_id = demo::PlayId(s, n);
      SCOPED_TRACE(play_id);
      std::string page = Body("/videourl_" + play_id + ".shtml");
      bool has_path = cuts::GbkFind(page, "cn/") != cuts::npos;
      std::string path = RawBetween(page, "cn/", "\"");
      switch (e.address) {
        case demo::AddressKind::Video: {
          auto res = Get("/" + path, {{"Range", "bytes=0-0"}});
          ASSERT_TRUE(res);
          EXPECT_EQ(res->status, 206);
          EXPECT_EQ(res->get_header_value("Content-Range"),
                    "bytes 0-0/" + std::to_string(e.size));
          break;
        }
        case demo::AddressKind::MissingFile:
          ASSERT_FALSE(path.empty());
          EXPECT_EQ(Get("/" + path)->status, 404);
          break;
        case demo::AddressKind::NoVideoPath:
          EXPECT_FALSE(has_path);
          EXPECT_GT(page.size(), 60u);
          break;
        case demo::AddressKind::ShortPage:
          EXPECT_FALSE(has_path);
          EXPECT_LE(page.size(), 60u);
          break;
      }
    }
  }
}

TEST_F(SeriesPagesTest, DetailsFields) {
  for (const demo::Series& s : demo::AllSeries()) {
    SCOPED_TRACE(s.id);
    std::string page = Body("/serie_" + s.id + ".shtml");
    std::string block =
        RawBetween(page, "<ul class=\"teacher_bg\">", "<!-- <ul class=\"teacher_bg\">");
    std::string name_cut =
        cuts::TrimSpaces(PercentDecode(RawBetween(block, "</a><dt><b><a", "</b></dt>")));
    EXPECT_EQ(Between(name_cut, ">", "<"), s.teacher_block ? s.teacher : "");
    EXPECT_EQ(Cleaned(RawBetween(block, "<a title=\"", "\"")), s.teacher_block ? s.school : "");
    EXPECT_EQ(Cleaned(RawBetween(block, "</a></dd><dd>", "</dd>")), s.teacher_block ? s.intro : "");

    std::string description = Cleaned(
        RawBetween(page, "<p id=\"show_xiangxi\">", "<!-- <p id=\"show_shouqi\" style="));
    if (s.description.size() <= 100) {
      EXPECT_EQ(description, Joined(s.description));
    } else {
      // Cleaning stops after 100 tabs and 100 "</p>": the last paragraphs keep theirs.
      EXPECT_EQ(description.substr(0, s.description[0].size() + 2), s.description[0] + "\r\n");
      EXPECT_NE(description.find(s.description[99] + "\r\n\t" + s.description[100] + "</p>"),
                std::string::npos);
      EXPECT_TRUE(description.ends_with("\t" + s.description.back() + "</P>"));
    }
  }
}

}  // namespace
