#include "pages.h"

#include "encode.h"

namespace demo {
namespace {

// Text of a series as its style writes it. Pieces that readers cut are
// percent-decoded by them, so either form reads back as the same UTF-8.
std::string Text(const Series& s, std::string_view utf8) {
  return s.style == TextStyle::Escaped ? PercentEncodeAll(utf8) : PercentEncodeUnsafe(utf8);
}

std::string PlayAddress(std::string_view base, const std::string& play_id) {
  return std::string(base) + "/play_" + play_id + ".shtml";
}

// Raw UTF-8 read with a GBK character step can swallow the byte after an odd
// run of high bytes; every marker below is therefore preceded by an ASCII byte
// that is not part of it (a space, a newline or markup).
void AppendHead(std::string& out, const Series& s) {
  out += "<!DOCTYPE html>\n<html>\n<head>\n";
  out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n";
  out += "<title>" + Text(s, s.title);
  out += s.title_marker ? std::string(kTitleSuffix) + "-在线观看" : std::string("_课程主页");
  out += "</title>\n</head>\n<body>\n";
  out += "<div class=\"header\"><a href=\"/\">首页</a></div>\n";
  out += "<h1>" + Text(s, s.title) + " </h1>\n";
}

void AppendDescription(std::string& out, const Series& s) {
  out += "<div class=\"intro\">\n<p id=\"show_xiangxi\">";
  for (size_t i = 0; i < s.description.size(); ++i) {
    bool last = i + 1 == s.description.size();
    out += "\t" + Text(s, s.description[i]);
    out += last ? "</P>" : "</p>\r\n";
  }
  out += " <!-- <p id=\"show_shouqi\" style=\"display:none\">收起</p> -->\n</div>\n";
}

void AppendTeacher(std::string& out, const Series& s) {
  if (!s.teacher_block) return;
  std::string teacher_href = "/teacher_" + std::to_string(s.teacher_no) + ".shtml";
  out += "<div class=\"teacher\">\n<ul class=\"teacher_bg\">\n<li><dl>\n";
  out += "<dd class=\"pic\"><a href=\"" + teacher_href + "\"><img src=\"/img/teacher_" +
         std::to_string(s.teacher_no) + ".jpg\" alt=\"\"></a>";
  out += "<dt><b><a href=\"" + teacher_href + "\">" + Text(s, s.teacher) + "</a></b></dt>\n";
  // The institution is the first titled link of the block.
  out += "<dd><a title=\"" + PercentEncodeAll(s.school) + "\" href=\"/schooldetail_" +
         std::to_string(s.school_no) + ".shtml\">" + Text(s, s.school) + " </a></dd>";
  out += "<dd>" + Text(s, s.intro) + " </dd>\n";
  out += "</dl></li>\n</ul>\n";
  out += "<!-- <ul class=\"teacher_bg\"><li>旧版教师信息</li></ul> -->\n</div>\n";
}

void AppendLink(std::string& out, const Series& s, const std::string& title,
                const std::string& play_id, std::string_view base) {
  const char* open = s.upper_case_links ? "<LI><A" : "<li><a";
  const char* target = s.upper_case_links ? "TARGET" : "target";
  const char* close = s.upper_case_links ? "</A></LI>\n" : "</a></li>\n";
  out += std::string(open) + " title=\"" + Text(s, title) + "\" href=\"" +
         PlayAddress(base, play_id) + "\" " + target + "=\"_blank\">" + Text(s, title) + " " +
         close;
}

void AppendEpisodes(std::string& out, const Series& s, std::string_view base) {
  if (!s.episode_block) {
    out += "<div class=\"empty\"><p>本系列暂无视频。</p></div>\n";
    return;
  }
  out += "<div class=\"smode clearfix\">\n<ul>\n";
  size_t next_episode = 0;
  size_t next_foreign = 0;
  for (int pos = 1; pos <= s.LinkCount(); ++pos) {
    if (next_foreign < s.foreign_links.size() && s.foreign_links[next_foreign].position == pos) {
      const ForeignLink& f = s.foreign_links[next_foreign++];
      const Series* other = FindSeries(f.series_id);
      AppendLink(out, s, other->episodes[f.episode - 1].title, PlayId(*other, f.episode), base);
    } else {
      ++next_episode;
      AppendLink(out, s, s.episodes[next_episode - 1].title,
                 PlayId(s, static_cast<int>(next_episode)), base);
    }
  }
  out += "</ul>\n</div>\n<div class=\"dmode clearfix\">\n<p>共" +
         std::to_string(s.episodes.size()) + "集</p>\n</div>\n";
}

}  // namespace

std::string SeriesPage(const Series& s, std::string_view base) {
  std::string out;
  AppendHead(out, s);
  AppendDescription(out, s);
  AppendTeacher(out, s);
  AppendEpisodes(out, s, base);
  out += "</body>\n</html>\n";
  return out;
}

std::string VideoPath(const Series& s, int episode) {
  return "/v/" + PlayId(s, episode) + ".flv";
}

std::string AddressPage(const EpisodeRef& e, std::string_view base) {
  const Episode& ep = e.Get();
  switch (ep.address) {
    case AddressKind::ShortPage:
      return "<html><body>视频已下线</body></html>";
    case AddressKind::NoVideoPath:
      return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>视频地址</title>"
             "</head>\n<body>\n<p>该视频暂时无法播放，请稍后再试。</p>\n</body></html>\n";
    case AddressKind::Video:
    case AddressKind::MissingFile:
      break;
  }
  // Readers take the path after the first "cn/" up to the next quote, and put
  // it behind the file host they are configured with.
  std::string path = ep.address == AddressKind::Video
                         ? VideoPath(*e.series, e.episode)
                         : "/v/gone/" + PlayId(*e.series, e.episode) + ".flv";
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>视频地址</title>"
                    "</head>\n<body>\n<div id=\"player\"></div>\n";
  out += "<script type=\"text/javascript\">\nvar flashvars = { file: \"" + std::string(base) +
         "/cn" + path + "\", autostart: \"false\" };\n</script>\n</body></html>\n";
  return out;
}

std::string IndexPage(std::string_view base) {
  std::string out =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>演示站点</title></head>\n"
      "<body>\n<h1>系列列表</h1>\n<ul>\n";
  for (const Series& s : AllSeries()) {
    out += "<li><a href=\"" + std::string(base) + "/serie_" + s.id + ".shtml\">" + s.id + " " +
           PercentEncodeUnsafe(s.title) + "</a> (" + std::to_string(s.episodes.size()) +
           ")</li>\n";
  }
  out += "</ul>\n</body></html>\n";
  return out;
}

std::string NotFoundPage() {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>404</title></head>\n"
         "<body><p>页面不存在。</p></body></html>\n";
}

}  // namespace demo
