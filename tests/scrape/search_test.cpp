#include "scrape/search.h"

#include <gtest/gtest.h>

#include "search.h"
#include "site_fixture.h"

namespace lecdl {
namespace {

class SearchSiteTest : public SiteTest {
 protected:
  void Search(const std::string& keywordUtf8, std::optional<Radio> field) {
    form_.SetText(TextBox::Keyword, G(keywordUtf8));
    if (field) {
      form_.Select(*field);
    } else {
      form_.SelectNone();
    }
    SearchSite(form_, hosts_);
  }

  // The series ids the site finds for a keyword, in result order.
  static std::vector<std::string> ExpectedIds(const std::string& keywordUtf8, demo::SearchField field) {
    std::vector<std::string> ids;
    for (const demo::Series* s : demo::FindSeriesByKeyword(keywordUtf8, field)) ids.push_back(s->id);
    return ids;
  }

  std::vector<std::string> Column(int column) {
    std::vector<std::string> cells;
    for (const auto& row : form_.Rows(ListControl::SearchResults)) cells.push_back(row.cells[static_cast<size_t>(column)]);
    return cells;
  }
};

TEST_F(SearchSiteTest, WalksEveryResultPage) {
  Search("王", Radio::Teacher);  // three result pages

  const std::string sw = "%E7%8E%8B";
  EXPECT_EQ(Requests(), (std::vector<std::string>{
                            "/s?order=0&sw=" + sw + "&type=sw_teacher",  // read for the page count
                            "/s?sw=" + sw + "&type=sw_teacher&order=0&startPage=1",
                            "/s?sw=" + sw + "&type=sw_teacher&order=0&startPage=2",
                            "/s?sw=" + sw + "&type=sw_teacher&order=0&startPage=3",
                        }));
  const auto ids = ExpectedIds("王", demo::SearchField::Teacher);
  EXPECT_EQ(Column(kSeriesIdColumn), ids);  // the piece without "主讲人" on page 1 adds no row
  const auto& rows = form_.Rows(ListControl::SearchResults);
  for (size_t i = 0; i < rows.size(); ++i) {
    const demo::Series* series = demo::FindSeries(ids[i]);
    EXPECT_EQ(rows[i].cells[kCourseName], G(series->title));
    EXPECT_EQ(rows[i].cells[kTeacher], G(series->teacher));
    EXPECT_EQ(rows[i].cells[kSchool], G(series->school));
    EXPECT_EQ(rows[i].cells[kUpdateTime], "");
    EXPECT_EQ(rows[i].cells[kPlayCount], "");
    EXPECT_EQ(rows[i].cells[kSearchProgress], G("等待操作"));
  }
  const std::string count = std::to_string(ids.size());
  ASSERT_EQ(form_.messages.size(), 1u);
  EXPECT_EQ(form_.messages[0].text, G("搜索完成！共搜索到资源" + count + "个资源！"));
  EXPECT_EQ(form_.messages[0].caption, G("提示！"));
  EXPECT_EQ(form_.LabelText(Label::ResultCount), G("共搜索到资源" + count + "个资源！"));
  EXPECT_EQ(form_.LabelText(Label::SearchProgress), G("正在获取该 关键字 下第  3  页的数据！"));
}

TEST_F(SearchSiteTest, EachFieldSendsItsType) {
  const std::pair<Radio, std::string> fields[] = {
      {Radio::AllFields, "all"},       {Radio::Title, "sw_title"},     {Radio::Teacher, "sw_teacher"},
      {Radio::School, "sw_school"},    {Radio::Subtitles, "sw_caption"},
  };
  for (const auto& [radio, type] : fields) {
    server_.Site().Log().Clear();
    Search("ab-1.c", radio);  // letters, digits, "-" and "." travel unescaped
    ASSERT_FALSE(Requests().empty());
    EXPECT_EQ(Requests()[0], "/s?order=0&sw=ab-1.c&type=" + type);
  }
}

TEST_F(SearchSiteTest, EveryFieldFindsItsSeries) {
  const std::pair<const char*, Radio> searches[] = {
      {"导论", Radio::Title}, {"理工", Radio::School}, {"函数", Radio::Subtitles}, {"数据", Radio::AllFields}};
  const demo::SearchField siteFields[] = {demo::SearchField::Title, demo::SearchField::School,
                                          demo::SearchField::Caption, demo::SearchField::All};
  for (size_t i = 0; i < std::size(searches); ++i) {
    Search(searches[i].first, searches[i].second);
    EXPECT_EQ(Column(kSeriesIdColumn), ExpectedIds(searches[i].first, siteFields[i])) << searches[i].first;
  }
}

TEST_F(SearchSiteTest, NoPageCountMeansNoRows) {
  for (const char* keyword : {"量子", "没有这个词"}) {  // one page without a last-page link; nothing found
    server_.Site().Log().Clear();
    Search(keyword, Radio::Title);
    EXPECT_TRUE(form_.Rows(ListControl::SearchResults).empty()) << keyword;
    EXPECT_EQ(Requests().size(), 1u) << keyword;
    EXPECT_EQ(form_.messages.back().text, G("搜索完成！共搜索到资源0个资源！"));
  }
}

TEST_F(SearchSiteTest, NoFieldSelectedSearchesNothing) {
  Search("王", std::nullopt);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(form_.messages.back().text, G("搜索完成！共搜索到资源0个资源！"));
}

TEST_F(SearchSiteTest, EmptyKeyword) {
  Search("王", Radio::Teacher);
  const size_t rows = form_.Rows(ListControl::SearchResults).size();
  const size_t requests = Requests().size();
  Search("", Radio::Teacher);
  EXPECT_EQ(form_.messages.back().text, G("请输入关键字！"));
  EXPECT_EQ(form_.messages.back().caption, G("提示"));
  EXPECT_EQ(form_.Rows(ListControl::SearchResults).size(), rows);
  EXPECT_EQ(Requests().size(), requests);

  // Spaces pass the check and are searched as an empty keyword.
  Search("  ", Radio::Title);
  EXPECT_EQ(Requests().back(), "/s?order=0&sw=&type=sw_title");
  EXPECT_TRUE(form_.Rows(ListControl::SearchResults).empty());
}

TEST_F(SearchSiteTest, ShowResultTitle) {
  Search("王", Radio::Teacher);
  form_.SetCurrentRow(ListControl::SearchResults, 1);
  ShowResultTitle(form_);
  EXPECT_EQ(form_.LabelText(Label::ResultTitle), G("标题：") + form_.Cell(ListControl::SearchResults, 1, 0) + "\r\n");
  form_.SetCurrentRow(ListControl::SearchResults, -1);
  ShowResultTitle(form_);
  EXPECT_EQ(form_.LabelText(Label::ResultTitle), G("标题：") + "\r\n");
}

}  // namespace
}  // namespace lecdl
