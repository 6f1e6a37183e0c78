#include "download/batch_download.h"

#include <vector>

#include "download/runner.h"
#include "app/path_text.h"
#include "download/safe_name.h"
#include "download/series_details.h"
#include "net/fetch.h"
#include "scrape/search.h"
#include "scrape/site_pages.h"
#include "text/encoding.h"
#include "text/text.h"

namespace lecdl {

namespace {

// An address page this short names no video.
constexpr size_t kShortestAddressPage = 60;

struct EpisodeLink {
  int position;  // among all links of the page, skipped ones included
  std::string decoded;
};

// The links of the series' own episodes, in page order.
std::vector<EpisodeLink> EpisodeLinksOfSeries(const std::string& page, const std::string& seriesId) {
  std::vector<EpisodeLink> episodes;
  const TextList links = EpisodeLinksOf(page);
  for (size_t i = 0; i < links.size(); ++i) {
    std::string decoded = UrlDecodeUtf8(links[i]);
    if (IsEpisodeOf(decoded, seriesId)) episodes.push_back({static_cast<int>(i) + 1, std::move(decoded)});
  }
  return episodes;
}

// Downloads one ticked series; false when the user cancelled. Rows end with "下载结束" only when
// every episode is complete.
bool DownloadSeries(FormPort& form, DownloadEngine& engine, const Hosts& hosts, const DownloadSettings& settings,
                    int row) {
  form.SeriesId = form.Cell(ListControl::SearchResults, row, kSeriesIdColumn);
  const std::string page = FetchPageText(TrimSpaces(SeriesAddressOf(form.SeriesId, hosts)));
  form.CourseTitle = CourseTitleOf(page);
  const std::string folder = CourseFolder(form.Text(TextBox::SeriesDirectory), form.CourseTitle);
  MakeCourseFolder(folder);
  if (!form.Wait(0)) return false;
  // A row that names no course (one not found by a search) takes the course title of the page.
  const std::string courseName = form.Cell(ListControl::SearchResults, row, kCourseName);
  WriteSeriesDetails(page, form.SeriesId, courseName.empty() ? form.CourseTitle : courseName, folder, hosts);
  if (!form.Wait(0)) return false;

  const std::vector<EpisodeLink> episodes = EpisodeLinksOfSeries(page, form.SeriesId);
  // File names are decided over the whole series, so two episodes with one title keep apart.
  std::vector<std::string> titles;
  for (const EpisodeLink& episode : episodes) titles.push_back(EpisodeTitleOf(episode.decoded));
  const std::vector<std::string> names = DistinctSafeNames(titles);

  bool allComplete = true;
  for (size_t i = 0; i < episodes.size(); ++i) {
    const std::string addressPage = FetchAddressPage(PlayIdOf(episodes[i].decoded), hosts);
    if (addressPage.size() <= kShortestAddressPage) continue;
    form.SetCell(ListControl::SearchResults, row, kSearchProgress, Utf8ToGbk("正在下载"));
    if (!form.Wait(0)) return false;
    TaskParam param = settings.task;
    param.source = VideoAddressOf(addressPage, hosts);
    param.target = TextPath(folder + "/" + names[i] + ".flv");
    const EpisodeResult result = RunEpisodeTask(form, engine, settings, param, [&](const std::string& percent) {
      form.SetLabel(Label::SearchProgress, Utf8ToGbk("正在下载 ") + titles[i] + Utf8ToGbk("进度 ") + percent);
    });
    if (result == EpisodeResult::Cancelled) return false;
    if (result == EpisodeResult::TimedOut) form.SetLabel(Label::SearchProgress, Utf8ToGbk("超时！"));
    allComplete = allComplete && result == EpisodeResult::Complete;
    const char* outcome = result == EpisodeResult::Complete ? "个视频下载成功！" : "个视频下载失败！";
    form.SetLabel(Label::SearchProgress, Utf8ToGbk("  第") + std::to_string(episodes[i].position) + Utf8ToGbk(outcome));
    if (!form.Wait(0)) return false;
  }
  form.SetCell(ListControl::SearchResults, row, kSearchProgress, Utf8ToGbk(allComplete ? "下载结束" : "下载失败"));
  return true;
}

}  // namespace

void BatchDownload(FormPort& form, DownloadEngine& engine, const Hosts& hosts, const DownloadSettings& settings) {
  if (form.Text(TextBox::SeriesDirectory).empty()) {
    form.ShowMessage(Utf8ToGbk("请先选择你要保存的目录"), Utf8ToGbk("信息："), MessageButtons::Ok);
    return;
  }
  const int count = form.RowCount(ListControl::SearchResults);
  for (int row = 0; row < count; ++row) {
    if (!form.IsRowChecked(ListControl::SearchResults, row)) continue;
    if (!DownloadSeries(form, engine, hosts, settings, row)) return;
  }
  form.ShowMessage(Utf8ToGbk("视频全部下载完毕！"), Utf8ToGbk("提示"), MessageButtons::Ok);
}

}  // namespace lecdl
