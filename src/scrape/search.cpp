#include "scrape/search.h"

#include "net/fetch.h"
#include "text/encoding.h"
#include "text/extract.h"

namespace lecdl {

namespace {

constexpr Radio kFields[] = {Radio::AllFields, Radio::Title, Radio::Teacher, Radio::School, Radio::Subtitles};

// The keyword box is read afresh each time an address is built.
std::string EncodedKeyword(FormPort& form) { return UrlEncodeUtf8(TrimSpaces(form.Text(TextBox::Keyword))); }

// The title attribute of the link whose target starts with `hrefStart`. The cut runs from the
// piece's first link title, which belongs to the course link; where another link title lies
// between, the teacher's or school's own title is the one after the last of them.
std::string LinkTitleOf(std::string_view piece, std::string_view hrefStart) {
  static constexpr std::string_view kTitle = "<a title=\"";
  const std::string cut = TextBetween(piece, kTitle, "\" href=\"" + std::string(hrefStart), 0);
  const int last = FindTextReverse(cut, kTitle);
  return last == -1 ? cut : MidText(cut, last + static_cast<int>(kTitle.size()), static_cast<int>(cut.size()));
}

int PageCountOf(std::string_view firstPage) {
  const std::string pagination = UrlDecodeUtf8(TextBetween(firstPage, "pagination", "</form>", 0));
  const std::string pager = TextBetween(pagination, Utf8ToGbk("下一页"), Utf8ToGbk("确定"), 0);
  return ToInteger(TextBetween(pager, "rder=0&startPage=", Utf8ToGbk("\">末页"), 0));
}

// Appends a row per result of the page; false when the user cancelled the run.
bool AddResultRows(FormPort& form, std::string_view page, int pageNumber) {
  static const std::string kSpeaker = Utf8ToGbk("主讲人");
  const std::string progress = Utf8ToGbk("正在获取该 关键字 下第  ") + std::to_string(pageNumber) + Utf8ToGbk("  页的数据！");
  const std::string results = UrlDecodeUtf8(TextBetween(page, "comVideoList", "pagination", 0));
  for (const std::string& piece : SplitText(results, "score")) {
    if (FindText(piece, kSpeaker) == -1) continue;
    form.SetLabel(Label::SearchProgress, progress);
    const int row = form.AppendRow(ListControl::SearchResults);
    form.SetCell(ListControl::SearchResults, row, kCourseName, TextBetween(piece, "<a title=\"", "\" href=\"serie", 0));
    form.SetCell(ListControl::SearchResults, row, kTeacher, LinkTitleOf(piece, "/teacher"));
    form.SetCell(ListControl::SearchResults, row, kSchool, LinkTitleOf(piece, "/schooldetail"));
    form.SetCell(ListControl::SearchResults, row, kSeriesIdColumn, TextBetween(piece, "href=\"serie_", ".shtml", 0));
    form.SetCell(ListControl::SearchResults, row, kSearchProgress, Utf8ToGbk("等待操作"));
    if (!form.Wait(0)) return false;
  }
  return true;
}

}  // namespace

std::string SearchTypeOf(Radio field) {
  switch (field) {
    case Radio::AllFields: return "all";
    case Radio::Title: return "sw_title";
    case Radio::Teacher: return "sw_teacher";
    case Radio::School: return "sw_school";
    case Radio::Subtitles: return "sw_caption";
  }
  return {};
}

void SearchSite(FormPort& form, const Hosts& hosts) {
  if (form.Text(TextBox::Keyword).empty()) {
    form.ShowMessage(Utf8ToGbk("请输入关键字！"), Utf8ToGbk("提示"), MessageButtons::Ok);
    return;
  }
  form.ClearRows(ListControl::SearchResults);
  std::string firstAddress;
  std::string type;
  for (const Radio field : kFields) {
    if (!form.IsSelected(field)) continue;
    type = SearchTypeOf(field);
    firstAddress = "http://" + hosts.site + "/s?order=0&sw=" + EncodedKeyword(form) + "&type=" + type;
  }
  // The first page is read once for the page count; page 1 is then fetched again like any other.
  const int pages = firstAddress.empty() ? 0 : PageCountOf(FetchPageText(TrimSpaces(firstAddress)));
  for (int p = 1; p <= pages; ++p) {
    const std::string address = "http://" + hosts.site + "/s?sw=" + EncodedKeyword(form) + "&type=" + type +
                                "&order=0&startPage=" + std::to_string(p);
    if (!AddResultRows(form, FetchPageText(TrimSpaces(address)), p)) return;
  }
  const std::string count = std::to_string(form.RowCount(ListControl::SearchResults));
  form.ShowMessage(Utf8ToGbk("搜索完成！共搜索到资源") + count + Utf8ToGbk("个资源！"), Utf8ToGbk("提示！"),
                   MessageButtons::Ok);
  form.SetLabel(Label::ResultCount, Utf8ToGbk("共搜索到资源") + count + Utf8ToGbk("个资源！"));
}

void ShowResultTitle(FormPort& form) {
  const int row = form.CurrentRow(ListControl::SearchResults);
  form.SetLabel(Label::ResultTitle, Utf8ToGbk("标题：") + form.Cell(ListControl::SearchResults, row, kCourseName) + "\r\n");
}

}  // namespace lecdl

