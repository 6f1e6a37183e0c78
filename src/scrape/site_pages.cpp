#include "scrape/site_pages.h"

#include "net/fetch.h"
#include "text/encoding.h"
#include "text/extract.h"

namespace lecdl {

std::string SeriesIdOf(std::string_view seriesAddress) { return TextBetween(seriesAddress, "serie_", ".shtml", 0); }

std::string CourseTitleOf(std::string_view seriesPage) {
  static const std::string kSiteName = Utf8ToGbk("-超星学术视频");
  const std::string title = UrlDecodeUtf8(TextBetween(seriesPage, "<titl", "</title>", 0));
  return TextBetween(title, "e>", kSiteName, 0);
}

TextList EpisodeLinksOf(std::string_view seriesPage) {
  const std::string block =
      TextBetween(seriesPage, "<div class=\"smode clearfix\">", "<div class=\"dmode clearfix\">", 0);
  TextList links;
  TextBetweenAll(block, "<li><a", "target=", links);  // link markers match in any letter case
  return links;
}

bool IsEpisodeOf(std::string_view decodedLink, std::string_view seriesId) {
  return FindText(decodedLink, "/play_" + std::string(seriesId)) != -1;
}

std::string PlayIdOf(std::string_view decodedLink) { return TextBetween(decodedLink, "/play_", ".shtml", 0); }

std::string EpisodeTitleOf(std::string_view decodedLink) {
  return TextBetween(decodedLink, "title=\"", "\" href=", 0);
}

std::string FetchAddressPage(std::string_view playId, const Hosts& hosts) {
  return FetchPageText("http://" + hosts.site + "/videourl_" + std::string(playId) + ".shtml");
}

std::string VideoAddressOf(std::string_view addressPage, const Hosts& hosts) {
  return "http://" + hosts.video + "/" + TextBetween(addressPage, "cn/", "\"", 0);
}

std::string SeriesAddressOf(std::string_view seriesId, const Hosts& hosts) {
  return "http://" + hosts.site + "/serie_" + std::string(seriesId) + ".shtml";
}

}  // namespace lecdl
