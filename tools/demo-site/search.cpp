#include "search.h"

#include <algorithm>

#include "encode.h"
#include "hash.h"

namespace demo {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool Contains(std::string_view text, std::string_view word) {
  auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                        [](char a, char b) { return Lower(a) == Lower(b); });
  return it != text.end();
}

bool Matches(const Series& s, std::string_view keyword, SearchField field) {
  switch (field) {
    case SearchField::Title:
      return Contains(s.title, keyword);
    case SearchField::Teacher:
      return Contains(s.teacher, keyword);
    case SearchField::School:
      return Contains(s.school, keyword);
    case SearchField::Caption:
      return Contains(s.captions, keyword);
    case SearchField::All:
      break;
  }
  return Contains(s.title, keyword) || Contains(s.teacher, keyword) ||
         Contains(s.school, keyword) || Contains(s.captions, keyword);
}

std::string Attr(const Series& s, std::string_view utf8) {
  return s.style == TextStyle::Escaped ? PercentEncodeAll(utf8) : PercentEncodeUnsafe(utf8);
}

// One result per line: readers split the list at "score" and cut the fields
// out of each piece, so a piece must hold no line breaks or tabs of its own.
void AppendResult(std::string& out, const Series& s) {
  std::string score = "8." + std::to_string(Fnv1a(s.id) % 10);
  std::string href = "serie_" + s.id + ".shtml";
  out += "<li><div class=\"score\">" + score + "</div>";
  out += "<a title=\"" + Attr(s, s.title) + "\" href=\"" + href + "\"><img src=\"/img/serie_" +
         s.id + ".jpg\" alt=\"\"></a>";
  out += "<h3><a href=\"" + href + "\">" + Attr(s, s.title) + "</a></h3>";
  out += "<p>主讲人：<a title=\"" + Attr(s, s.teacher) + "\" href=\"/teacher_" +
         std::to_string(s.teacher_no) + ".shtml\">" + Attr(s, s.teacher) + "</a> ";
  out += "<a title=\"" + Attr(s, s.school) + "\" href=\"/schooldetail_" +
         std::to_string(s.school_no) + ".shtml\">" + Attr(s, s.school) + "</a></p>";
  out += "<p class=\"info\">共" + std::to_string(s.episodes.size()) + "集</p></li>\n";
}

// A promotion among the results: it has no speaker, so readers add no row.
void AppendPromotion(std::string& out) {
  out += "<li><div class=\"score\"></div><a title=\"专题推荐\" href=\"/topic_1.shtml\">"
         "专题推荐：名师讲堂</a></li>\n";
}

std::string PageHref(const std::string& encoded, SearchField field, int page) {
  return "/s?sw=" + encoded + "&type=" + std::string(SearchTypeName(field)) +
         "&order=0&startPage=" + std::to_string(page);
}

// Readers take the last page from the link after "下一页", so that link is
// shown only while a next page exists.
void AppendPagination(std::string& out, std::string_view keyword, SearchField field, int page,
                      int pages) {
  std::string enc = PercentEncodeAll(keyword);
  out += "<div class=\"pagination\"><form action=\"/s\" method=\"get\">\n";
  if (page > 1) {
    out += "<a href=\"" + PageHref(enc, field, 1) + "\">首页</a> ";
    out += "<a href=\"" + PageHref(enc, field, page - 1) + "\">上一页</a> ";
  }
  int first = std::max(1, page - 4);
  int last = std::min(pages, first + 9);
  for (int p = first; p <= last; ++p) {
    if (p == page) {
      out += "<span class=\"current\">" + std::to_string(p) + "</span> ";
    } else {
      out += "<a href=\"" + PageHref(enc, field, p) + "\">" + std::to_string(p) + "</a> ";
    }
  }
  if (page < pages) {
    out += "<a href=\"" + PageHref(enc, field, page + 1) + "\">下一页</a> ";
    out += "<a href=\"" + PageHref(enc, field, pages) + "\">末页</a> ";
  }
  out += "<span>共" + std::to_string(pages) + "页</span> 到第<input type=\"text\" "
         "name=\"startPage\" value=\"" + std::to_string(page) + "\" size=\"3\">页 "
         "<input type=\"submit\" value=\"确定\">\n";
  out += "<input type=\"hidden\" name=\"sw\" value=\"" + enc + "\"><input type=\"hidden\" "
         "name=\"type\" value=\"" + std::string(SearchTypeName(field)) + "\">"
         "<input type=\"hidden\" name=\"order\" value=\"0\">\n</form></div>\n";
}

}  // namespace

SearchField ParseSearchField(std::string_view type) {
  if (type == "sw_title") return SearchField::Title;
  if (type == "sw_teacher") return SearchField::Teacher;
  if (type == "sw_school") return SearchField::School;
  if (type == "sw_caption") return SearchField::Caption;
  return SearchField::All;
}

std::string_view SearchTypeName(SearchField field) {
  switch (field) {
    case SearchField::Title:
      return "sw_title";
    case SearchField::Teacher:
      return "sw_teacher";
    case SearchField::School:
      return "sw_school";
    case SearchField::Caption:
      return "sw_caption";
    case SearchField::All:
      break;
  }
  return "all";
}

std::vector<const Series*> FindSeriesByKeyword(std::string_view keyword, SearchField field) {
  std::vector<const Series*> found;
  if (keyword.empty()) return found;
  for (const Series& s : AllSeries()) {
    if (Matches(s, keyword, field)) found.push_back(&s);
  }
  return found;
}

int PageCount(size_t results) {
  return static_cast<int>((results + kResultsPerPage - 1) / kResultsPerPage);
}

std::string SearchPage(std::string_view keyword, SearchField field, int page) {
  std::vector<const Series*> found = FindSeriesByKeyword(keyword, field);
  int pages = PageCount(found.size());
  // Pages past the last one are empty; clamping keeps the page arithmetic small.
  page = std::clamp(page, 1, pages + 1);
  std::string out =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>搜索结果</title></head>\n"
      "<body>\n<div class=\"search_top\">共找到" + std::to_string(found.size()) + "个结果</div>\n";
  out += "<div class=\"comVideoList\">\n";
  if (found.empty()) {
    out += "<p class=\"noresult\">没有找到相关视频。</p>\n</div>\n</body></html>\n";
    return out;
  }
  out += "<ul>\n";
  if (page == 1) AppendPromotion(out);
  size_t begin = static_cast<size_t>(page - 1) * kResultsPerPage;
  for (size_t i = begin; i < found.size() && i < begin + kResultsPerPage; ++i) {
    AppendResult(out, *found[i]);
  }
  out += "</ul>\n</div>\n";
  AppendPagination(out, keyword, field, page, pages);
  out += "</body></html>\n";
  return out;
}

}  // namespace demo
