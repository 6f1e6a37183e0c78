#include "download/series_details.h"

#include "app/file_io.h"
#include "app/path_text.h"
#include "download/safe_name.h"
#include "scrape/site_pages.h"
#include "text/encoding.h"
#include "text/extract.h"

namespace lecdl {

namespace {

// Tabs and "</p>" in any letter case go; at most 100 of each, as the page cuts always did.
std::string Cleaned(std::string_view text) {
  return ReplaceMany(text, 100, 1, false, {{"\t", ""}, {"</p>", ""}});
}

std::string DecodedPiece(std::string_view text, std::string_view left, std::string_view right) {
  return TrimSpaces(UrlDecodeUtf8(TextBetween(text, left, right, 0)));
}

}  // namespace

std::string SeriesDetailsText(std::string_view page, std::string_view seriesId, std::string_view courseName,
                              const Hosts& hosts) {
  const std::string block = TextBetween(page, "<ul class=\"teacher_bg\">", "<!-- <ul class=\"teacher_bg\">", 0);
  const std::string teacher = TextBetween(DecodedPiece(block, "</a><dt><b><a", "</b></dt>"), ">", "<", 0);
  const std::string school = Cleaned(DecodedPiece(block, "<a title=\"", "\""));
  const std::string introduction = Cleaned(DecodedPiece(block, "</a></dd><dd>", "</dd>"));
  const std::string description =
      Cleaned(DecodedPiece(page, "<p id=\"show_xiangxi\">", "<!-- <p id=\"show_shouqi\" style="));

  const std::string crlf = "\r\n";
  return Utf8ToGbk("原链接：") + SeriesAddressOf(seriesId, hosts) + crlf +                                  //
         Utf8ToGbk("标题：") + std::string(courseName) + "-" + school + "-" + teacher +                         //
         Utf8ToGbk("【完整全集免费下载】") + crlf +                                                            //
         Utf8ToGbk("视频简介：") + description + crlf +                                                        //
         Utf8ToGbk("作者介绍：") + crlf +                                                                      //
         Utf8ToGbk("姓名：") + teacher + crlf +                                                                //
         Utf8ToGbk("院校：") + school + crlf +                                                                 //
         Utf8ToGbk("介绍：") + introduction;
}

bool WriteSeriesDetails(std::string_view page, std::string_view seriesId, std::string_view courseName,
                        std::string_view gbkCourseFolder, const Hosts& hosts) {
  const std::string text = SeriesDetailsText(page, seriesId, courseName, hosts);
  return WriteWholeFile(TextPath(std::string(gbkCourseFolder) + "/" + Utf8ToGbk("简介.txt")), text);
}

}  // namespace lecdl
