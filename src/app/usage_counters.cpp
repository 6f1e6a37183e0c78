#include "app/usage_counters.h"

#include <algorithm>

#include "net/fetch.h"
#include "net/stats_fetch.h"
#include "scrape/series_reader.h"
#include "text/encoding.h"
#include "text/extract.h"

namespace lecdl {

namespace {

// The counter page as FetchPageText reads it, but bounded like the statistics fetch, so that a
// silent counter host holds the caller no longer than the status text would.
std::string CounterPage(const Hosts& hosts) {
  FetchRequest request;
  request.url = "http://" + hosts.stats + "/down/chaoxing/cx.php?cg=0";
  request.limits.connectTimeoutMs = kStatsTimeoutMs;
  request.limits.totalTimeoutMs = 2 * kStatsTimeoutMs;
  std::string body = WebFetch(request);
  body.resize(std::min(body.size(), body.find('\0')));
  return body;
}

std::string CounterPiece(const Hosts& hosts) {
  static const std::string kUse = Utf8ToGbk("使用");
  static const std::string kTimes = Utf8ToGbk("人次");
  return TextBetween(CounterPage(hosts), kUse, kTimes, 0);
}

}  // namespace

void ShowUsageCount(FormPort& form, const Hosts& hosts) {
  std::string total = CounterPiece(hosts);
  if (total.size() > 10) total = CounterPiece(hosts);
  form.SetLabel(Label::UsageLine, UsageLineText(total));
}

void RefreshStatusText(FormPort& form, const Hosts& hosts) {
  form.SetLabel(Label::StatusBar, StatsFetch("http://" + hosts.status + "/down/zxrs/3.php"));
}

}  // namespace lecdl
