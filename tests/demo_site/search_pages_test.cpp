// Search pages, walked the way the scraper walks them: the last-page link
// gives the page count, every page's pieces give the rows.
#include <string>
#include <vector>

#include "catalog.h"
#include "cuts.h"
#include "encode.h"
#include "site_fixture.h"

namespace {

using cuts::Between;

class SearchPagesTest : public DemoSiteTest {};

struct Row {
  std::string name;
  std::string id;
  bool operator==(const Row&) const = default;
};

int PageCountOf(const std::string& first_page) {
  std::string pagination = cuts::PercentDecode(cuts::RawBetween(first_page, "pagination", "</form>"));
  std::string tail = Between(pagination, "下一页", "确定");
  std::string last = Between(tail, "rder=0&startPage=", "\">末页");
  return last.empty() ? 0 : std::stoi(last);
}

std::vector<Row> RowsOf(const std::string& page) {
  std::vector<Row> rows;
  std::string list = cuts::PercentDecode(cuts::RawBetween(page, "comVideoList", "pagination"));
  for (const std::string& piece : cuts::Split(list, "score")) {
    if (piece.find("主讲人") == std::string::npos) continue;
    // The hidden columns run from the course link to the speaker's and the
    // institution's links; they stay on one line for line-based output.
    for (const char* right : {"\" href=\"/teacher", "\" href=\"/schooldetail"}) {
      std::string column = Between(piece, "<a title=\"", right);
      EXPECT_FALSE(column.empty());
      EXPECT_EQ(column.find_first_of("\t\r\n"), std::string::npos) << column;
    }
    rows.push_back({Between(piece, "<a title=\"", "\" href=\"serie"),
                    Between(piece, "href=\"serie_", ".shtml")});
  }
  return rows;
}

std::vector<Row> Expected(const std::string& keyword, const std::string& type) {
  std::vector<Row> rows;
  for (const demo::Series& s : demo::AllSeries()) {
    auto has = [&](const std::string& field) { return field.find(keyword) != std::string::npos; };
    bool hit = type == "sw_title"     ? has(s.title)
               : type == "sw_teacher" ? has(s.teacher)
               : type == "sw_school"  ? has(s.school)
               : type == "sw_caption" ? has(s.captions)
                                      : has(s.title) || has(s.teacher) || has(s.school) ||
                                            has(s.captions);
    if (hit) rows.push_back({s.title, s.id});
  }
  return rows;
}

TEST_F(SearchPagesTest, EveryTypeSpansSeveralPagesAndFindsItsField) {
  struct Case {
    std::string keyword;
    std::string type;
    int min_pages;
  };
  const Case cases[] = {
      {"导论", "sw_title", 3},   {"王", "sw_teacher", 3}, {"理工", "sw_school", 3},
      {"函数", "sw_caption", 3}, {"数据", "all", 3},      {"演示", "sw_caption", 3},
      {"危险", "all", 0},  // one page: no last-page link, so a reader finds no pages
      {"没有这个词", "all", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyword + " " + c.type);
    const std::string enc = demo::PercentEncodeAll(c.keyword);
    std::string first = Body("/s?order=0&sw=" + enc + "&type=" + c.type);
    int pages = PageCountOf(first);
    std::vector<Row> expected = Expected(c.keyword, c.type);
    ASSERT_FALSE(c.min_pages > 0 && expected.empty());
    if (c.min_pages == 0) {
      EXPECT_EQ(pages, 0);
      EXPECT_LE(expected.size(), 10u);
      EXPECT_EQ(RowsOf(first), expected);
      continue;
    }
    EXPECT_GE(pages, c.min_pages);
    std::vector<Row> rows;
    for (int p = 1; p <= pages; ++p) {
      std::string page = Body("/s?sw=" + enc + "&type=" + c.type +
                              "&order=0&startPage=" + std::to_string(p));
      if (p == 1) {
        EXPECT_EQ(page, first);
      }
      for (Row& r : RowsOf(page)) rows.push_back(std::move(r));
    }
    EXPECT_EQ(rows, expected);
  }
}

}  // namespace
