#include "cli/commands.h"

#include <ostream>

#include "cli/cli.h"
#include "cli/terminal_form.h"
#include "scrape/search.h"
#include "scrape/series_reader.h"
#include "text/encoding.h"

namespace lecdl {

namespace {

bool AllDigits(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }

std::optional<Radio> FieldRadio(const std::string& field) {
  if (field == "all") return Radio::AllFields;
  if (field == "title") return Radio::Title;
  if (field == "teacher") return Radio::Teacher;
  if (field == "school") return Radio::School;
  if (field == "caption") return Radio::Subtitles;
  return std::nullopt;
}

}  // namespace

std::optional<RangeOption> ParseRange(const std::string& text) {
  const auto dash = text.find('-');
  if (dash == std::string::npos) return std::nullopt;
  RangeOption range{text.substr(0, dash), text.substr(dash + 1)};
  if (!AllDigits(range.first) || !AllDigits(range.last)) return std::nullopt;
  return range;
}

int ListCommand(const Hosts& hosts, const std::string& url, const std::optional<RangeOption>& range,
                std::ostream& out, std::ostream& err) {
  const std::string address = Utf8ToGbk(url);
  if (!IsSeriesAddress(address, hosts)) {
    err << GbkToUtf8(NotASeriesAddressMessage(hosts)) << '\n';
    return kExitBadInput;
  }
  TerminalForm form(err);
  form.SetText(TextBox::SeriesAddress, address);
  if (range) {
    form.Tick(CheckBox::RangeOption, true);
    form.SetText(TextBox::RangeFirst, range->first);
    form.SetText(TextBox::RangeLast, range->last);
  }
  ReadSeries(form, hosts);

  // An episode whose address page named no video file is listed with the bare host root.
  const std::string unresolved = "http://" + hosts.video + "/";
  int status = kExitOk;
  for (const MemoryRow& row : form.Rows(ListControl::Episodes)) {
    out << GbkToUtf8(row.cells[0]) << '\t' << GbkToUtf8(row.cells[1]) << '\n';
    if (row.cells[1] == unresolved) {
      err << "no video address found for: " << GbkToUtf8(row.cells[0]) << '\n';
      status = kExitIncomplete;
    }
  }
  return status;
}

int SearchCommand(const Hosts& hosts, const std::string& keyword, const std::string& field, std::ostream& out,
                  std::ostream& err) {
  if (keyword.empty()) {
    err << "请输入关键字！\n";
    return kExitBadInput;
  }
  const auto radio = FieldRadio(field);
  if (!radio) {
    err << "unknown field: " << field << " (all, title, teacher, school, caption)\n";
    return kExitBadInput;
  }
  TerminalForm form(err);
  form.Select(*radio);
  form.SetText(TextBox::Keyword, Utf8ToGbk(keyword));
  SearchSite(form, hosts);
  for (const MemoryRow& row : form.Rows(ListControl::SearchResults)) {
    out << GbkToUtf8(row.cells[kSeriesIdColumn]) << '\t' << GbkToUtf8(row.cells[kCourseName]) << '\t'
        << GbkToUtf8(row.cells[kTeacher]) << '\t' << GbkToUtf8(row.cells[kSchool]) << '\n';
  }
  return kExitOk;
}

}  // namespace lecdl
