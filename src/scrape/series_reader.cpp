#include "scrape/series_reader.h"

#include "net/fetch.h"
#include "scrape/site_pages.h"
#include "text/encoding.h"
#include "text/extract.h"

namespace lecdl {

namespace {

enum EpisodeColumn { kTitle = 0, kAddress = 1, kProgress = 2 };

// Whether position `i` lies outside the range; the boxes are read afresh for every link, so an
// edit made during the run takes effect at the next link.
bool OutsideRange(FormPort& form, int i) {
  if (!form.IsTicked(CheckBox::RangeOption)) return false;
  if (ToInteger(form.Text(TextBox::RangeFirst)) > i) return true;
  return i > ToInteger(form.Text(TextBox::RangeLast));
}

std::string CounterTotal(const Hosts& hosts, const char* query) {
  static const std::string kUse = Utf8ToGbk("使用");
  static const std::string kTimes = Utf8ToGbk("人次");
  return TextBetween(FetchPageText("http://" + hosts.stats + "/down/chaoxing/cx.php?" + query), kUse, kTimes, 0);
}

}  // namespace

bool IsSeriesAddress(std::string_view text, const Hosts& hosts) {
  return FindText(text, hosts.site + "/serie") != -1;
}

std::string NotASeriesAddressMessage(const Hosts& hosts) {
  return Utf8ToGbk("输入的链接地址不是目录地址！举例：") + "http://" + hosts.site + "/serie_400004700.shtml";
}

std::string UsageLineText(std::string_view total) {
  return Utf8ToGbk("本程序当前已经为用户成功获取到") + std::string(total) + Utf8ToGbk("次资源！");
}

void CountUse(FormPort& form, const Hosts& hosts) {
  static const std::string kCounted = Utf8ToGbk("统计成功");
  std::string total = CounterTotal(hosts, "cg=1");
  if (FindText(total, kCounted) == -1) total = CounterTotal(hosts, "cg=0");
  form.SetLabel(Label::UsageLine, UsageLineText(total));
}

void ReadSeries(FormPort& form, const Hosts& hosts) {
  const std::string address = form.Text(TextBox::SeriesAddress);
  if (!IsSeriesAddress(address, hosts)) {
    form.ShowMessage(NotASeriesAddressMessage(hosts), Utf8ToGbk("提示"), MessageButtons::Ok);
    return;
  }
  form.ClearRows(ListControl::Episodes);
  int rows = 0;
  form.SeriesId = SeriesIdOf(address);
  const std::string page = FetchPageText(TrimSpaces(address));
  form.CourseTitle = CourseTitleOf(page);
  if (!form.Wait(0)) return;

  const std::string titlePrefix = Utf8ToGbk("视频标题：") + form.CourseTitle;
  const TextList links = EpisodeLinksOf(page);
  for (int i = 1; i <= static_cast<int>(links.size()); ++i) {
    if (OutsideRange(form, i)) continue;
    const std::string link = UrlDecodeUtf8(links[static_cast<size_t>(i) - 1]);
    if (!IsEpisodeOf(link, form.SeriesId)) continue;
    const std::string videoAddress = VideoAddressOf(FetchAddressPage(PlayIdOf(link), hosts), hosts);
    const int row = form.AppendRow(ListControl::Episodes);
    form.SetCell(ListControl::Episodes, row, kTitle, EpisodeTitleOf(link));
    form.SetCell(ListControl::Episodes, row, kAddress, videoAddress);
    form.SetCell(ListControl::Episodes, row, kProgress, Utf8ToGbk("等待处理"));
    CountUse(form, hosts);
    ++rows;
    form.SetLabel(Label::SeriesStatus,
                  titlePrefix + Utf8ToGbk("  获取第") + std::to_string(rows) + Utf8ToGbk("个下载地址成功！"));
    if (!form.Wait(0)) return;
  }
  form.SetLabel(Label::SeriesStatus, titlePrefix + Utf8ToGbk("  视频数量：") + std::to_string(rows) + Utf8ToGbk("个"));
  form.ShowMessage(Utf8ToGbk("视频地址获取完毕！共有") + std::to_string(rows) + Utf8ToGbk("个"), Utf8ToGbk("提示"),
                   MessageButtons::Ok);
}

}  // namespace lecdl
