#include "site.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <thread>

#include "catalog.h"
#include "encode.h"
#include "pages.h"
#include "search.h"
#include "video.h"
#include "video_body.h"

namespace demo {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kGbkText = "text/html; charset=gbk";
// Enough workers that a client resolving many episodes in parallel is not
// held back by the server when every answer is delayed.
constexpr std::size_t kWorkers = 32;

// The text between `prefix` and `suffix` when `path` is exactly that shape.
std::optional<std::string_view> Between(std::string_view path, std::string_view prefix,
                                        std::string_view suffix) {
  if (path.size() < prefix.size() + suffix.size()) return std::nullopt;
  if (path.substr(0, prefix.size()) != prefix) return std::nullopt;
  if (path.substr(path.size() - suffix.size()) != suffix) return std::nullopt;
  return path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
}

// The play id of a video-file path, either spelling.
std::optional<std::string_view> VideoPlayId(std::string_view path) {
  // The address pages name files under "/cn/v/"; readers keep what follows
  // "cn/", so both spellings lead to the same file.
  if (path.substr(0, 3) == "/cn") path.remove_prefix(3);
  return Between(path, "/v/", ".flv");
}

int PageNumber(const std::string& text) {
  int v = 1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc()) return 1;
  (void)end;
  return v;
}

}  // namespace

DemoSite::DemoSite(SiteOptions options)
    : options_(std::move(options)), port_(options_.port), usage_(options_.usage_start) {
  for (const FaultRule& f : options_.faults) faults_.Add(f.target, f.faultSpec);
}

void DemoSite::Install(httplib::Server& server) {
  server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    Handle(req, res);
    return httplib::Server::HandlerResponse::Handled;
  });
}

void DemoSite::SetPort(int port) { port_.store(port); }

std::string DemoSite::BaseAddress() const {
  return "http://" + options_.host + ":" + std::to_string(port_.load());
}

void DemoSite::Handle(const httplib::Request& req, httplib::Response& res) {
  log_.Add(req.method, req.target, req.get_header_value("Range"));
  if (options_.latency_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(options_.latency_ms));
  }
  // Range is answered here, not by the library: the library would cut the
  // body a second time, and fault switches must be able to ignore it.
  const_cast<httplib::Request&>(req).ranges.clear();
  if (req.method != "GET" && req.method != "HEAD") {
    res.status = 405;
    res.set_header("Allow", "GET, HEAD");
    res.set_content("method not allowed\n", "text/plain");
    return;
  }
  Route(req, res);
}

void DemoSite::Route(const httplib::Request& req, httplib::Response& res) {
  std::string_view path = req.path;
  if (path == "/" || path == "/index.html") {
    res.set_content(IndexPage(BaseAddress()), kHtml);
  } else if (auto id = Between(path, "/serie_", ".shtml")) {
    ServeSeries(*id, res);
  } else if (auto play = Between(path, "/videourl_", ".shtml")) {
    ServeAddressPage(*play, res);
  } else if (path == "/s") {
    ServeSearch(req, res);
  } else if (path.substr(0, 3) == "/v/" || path.substr(0, 6) == "/cn/v/") {
    ServeVideo(req, path, res);
  } else if (path == "/down/chaoxing/cx.php") {
    ServeCounter(req, res);
  } else if (path == "/down/zxrs/3.php") {
    ServeStatusText(res);
  } else if (path == "/update/newest.txt") {
    ServeUpdate(res);
  } else if (path.substr(0, 8) == "/update/") {
    ServeDownloadPage(path, res);
  } else {
    ServeNotFound(res);
  }
}

void DemoSite::SetFault(const std::string& play_id_or_star, FaultSpec faultSpec) {
  faults_.Set(play_id_or_star, faultSpec);
}

void DemoSite::AddFault(const std::string& play_id_or_star, FaultSpec faultSpec) {
  faults_.Add(play_id_or_star, faultSpec);
}

void DemoSite::ClearFaults() { faults_.Clear(); }

int DemoSite::VideoRequests(std::string_view play_id) const {
  int n = 0;
  for (const LoggedRequest& e : log_.Snapshot()) {
    std::string_view path = e.target;
    path = path.substr(0, path.find('?'));
    if (auto id = VideoPlayId(path); id && *id == play_id) ++n;
  }
  return n;
}

void DemoSite::ServeSeries(std::string_view id, httplib::Response& res) {
  const Series* s = FindSeries(id);
  if (s == nullptr) return ServeNotFound(res);
  res.set_content(SeriesPage(*s, BaseAddress()), kHtml);
}

void DemoSite::ServeAddressPage(std::string_view play_id, httplib::Response& res) {
  EpisodeRef e = FindEpisode(play_id);
  if (e.series == nullptr) return ServeNotFound(res);
  res.set_content(AddressPage(e, BaseAddress()), kHtml);
}

void DemoSite::ServeSearch(const httplib::Request& req, httplib::Response& res) {
  SearchField field = ParseSearchField(req.get_param_value("type"));
  int page = PageNumber(req.get_param_value("startPage"));
  res.set_content(SearchPage(req.get_param_value("sw"), field, page), kHtml);
}

void DemoSite::ServeVideo(const httplib::Request& req, std::string_view path,
                          httplib::Response& res) {
  auto play_id = VideoPlayId(path);
  EpisodeRef e = play_id ? FindEpisode(*play_id) : EpisodeRef{};
  if (e.series == nullptr) return ServeNotFound(res);

  const FaultPlan fault = faults_.Plan(std::string(*play_id), req.method == "GET");
  auto is = [&fault](FaultKind k) { return fault.shape && fault.shape->kind == k; };
  if (is(FaultKind::kStatus)) return ServeFaultStatus(*fault.shape, res);

  const std::int64_t size = std::max<std::int64_t>(e.Get().size + fault.size_change, 1);
  const std::uint64_t seed = FileSeed(*play_id);
  const std::string etag = VideoETag(seed, size);
  RangePlan plan = is(FaultKind::kIgnoreRange)
                       ? RangePlan{200, 0, size, {}}
                       : PlanRange(req.get_header_value("Range"),
                                   req.get_header_value("If-Range"), etag, size);
  res.set_header("Accept-Ranges", "bytes");
  res.set_header("ETag", etag);
  res.set_header("Last-Modified", "Mon, 01 Jan 2024 00:00:00 GMT");
  if (plan.status == 416) {
    res.status = 416;
    res.set_header("Content-Range", plan.content_range);
    res.set_content("requested range not satisfiable\n", "text/plain");
    return;
  }
  res.status = plan.status;
  if (plan.status == 206) res.set_header("Content-Range", plan.content_range);
  SetVideoBody(res, VideoSlice{seed, plan.offset, plan.length}, fault.shape, stop_);
}

void DemoSite::ServeFaultStatus(const FaultSpec& faultSpec, httplib::Response& res) {
  res.status = faultSpec.arg == kDefaultArg ? 404 : static_cast<int>(faultSpec.arg);
  if (faultSpec.retry_after >= 0) res.set_header("Retry-After", std::to_string(faultSpec.retry_after));
  res.set_content("status " + std::to_string(res.status) + " (fault switch)\n", "text/plain");
}

void DemoSite::ServeCounter(const httplib::Request& req, httplib::Response& res) {
  std::string text;
  if (req.get_param_value("cg") == "1") {
    std::int64_t total = ++usage_;
    text = options_.count_confirms ? "<html><body>感谢使用" + std::to_string(total) +
                                         "（统计成功）人次</body></html>"
                                   : "<html><body>统计失败，请稍后再试</body></html>";
  } else {
    text = "<html><body>本工具已被使用" + std::to_string(usage_.load()) + "人次</body></html>";
  }
  res.set_content(Utf8ToGbk(text), kGbkText);
}

void DemoSite::ServeStatusText(httplib::Response& res) {
  res.set_content(Utf8ToGbk("公告：演示站点运行正常，欢迎使用！"), kGbkText);
}

// The format lecdl reads (src/app/update_source.h): name=value lines, a blank
// line, then the release notes, all GBK.
void DemoSite::ServeUpdate(httplib::Response& res) {
  const std::string& version = options_.announce_version;
  std::string text = "version=" + version + "\r\n" +
                     "mandatory=" + (options_.update_mandatory ? "1" : "0") + "\r\n" +
                     "page=" + BaseAddress() + "/update/lecdl-" + version + ".html\r\n" +
                     "\r\n" +
                     "<p>版本 " + version + " 的更新内容：</p>" +
                     "<p>\t下载更稳定，&nbsp;断点续传更可靠。</p>" +
                     "<p>\t界面与搜索的小改进。</p>";
  res.set_content(Utf8ToGbk(text), "text/plain; charset=gbk");
}

void DemoSite::ServeDownloadPage(std::string_view path, httplib::Response& res) {
  if (path.substr(path.size() < 5 ? 0 : path.size() - 5) != ".html") return ServeNotFound(res);
  res.set_content("<html><head><title>lecdl</title></head><body><p>lecdl " +
                      std::string(path.substr(8)) + "</p></body></html>",
                  kHtml);
}

void DemoSite::ServeNotFound(httplib::Response& res) {
  res.status = 404;
  res.set_content(NotFoundPage(), kHtml);
}

}  // namespace demo
