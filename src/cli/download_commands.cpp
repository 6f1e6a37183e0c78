#include "cli/download_commands.h"

#include <filesystem>
#include <ostream>
#include <thread>

#include "cli/cli.h"
#include "cli/terminal_form.h"
#include "download/batch_download.h"
#include "download/download_engine.h"
#include "download/list_export.h"
#include "download/runner.h"
#include "scrape/search.h"
#include "scrape/series_reader.h"
#include "text/encoding.h"

namespace lecdl {

namespace {

constexpr int kExitInterrupted = 130;

// Reads the series into the form, as "获取地址" does; false (with the message) for an address
// that is not a series address.
bool ReadSeriesInto(TerminalForm& form, const CommandContext& context, const std::string& url,
                    const std::optional<RangeOption>& range) {
  const std::string address = Utf8ToGbk(url);
  if (!IsSeriesAddress(address, context.hosts)) {
    context.err << GbkToUtf8(NotASeriesAddressMessage(context.hosts)) << '\n';
    return false;
  }
  form.SetText(TextBox::SeriesAddress, address);
  if (range) {
    form.Tick(CheckBox::RangeOption, true);
    form.SetText(TextBox::RangeFirst, range->first);
    form.SetText(TextBox::RangeLast, range->last);
  }
  ReadSeries(form, context.hosts);
  return true;
}

std::string ChosenDirectory(const std::string& utf8Option, const std::string& savedGbk) {
  return utf8Option.empty() ? savedGbk : Utf8ToGbk(utf8Option);
}

bool Interrupted(const CommandContext& context) { return context.cancelled != nullptr && context.cancelled->load(); }

}  // namespace

int DownloadCommand(const CommandContext& context, const std::string& url, const std::optional<RangeOption>& range,
                    const std::vector<int>& only, const std::string& directory) {
  const std::string saveDirectory = ChosenDirectory(directory, context.episodeDirectory);
  if (saveDirectory.empty()) {
    context.err << "请先选择你要保存的目录 (-o DIR)\n";
    return kExitBadInput;
  }
  TerminalForm form(context.err, context.interactive, context.cancelled);
  if (!ReadSeriesInto(form, context, url, range)) return kExitBadInput;
  const int rows = form.RowCount(ListControl::Episodes);
  for (const int n : only) {
    if (n < 1 || n > rows) {
      context.err << "--only: there is no row " << n << " (the series has " << rows << ")\n";
      return kExitBadInput;
    }
    form.CheckRow(ListControl::Episodes, n - 1, true);
  }
  form.SetText(TextBox::EpisodeDirectory, saveDirectory);
  DownloadEngine engine;
  form.WatchEngine(&engine);
  if (only.empty()) {
    DownloadAll(form, engine);
  } else {
    DownloadChecked(form, engine);
  }
  if (Interrupted(context)) return kExitInterrupted;

  int status = kExitOk;
  const std::string complete = Utf8ToGbk("下载结束");
  for (int row = 0; row < rows; ++row) {
    if (!only.empty() && !form.IsRowChecked(ListControl::Episodes, row)) continue;
    if (form.Cell(ListControl::Episodes, row, 2) == complete) continue;
    context.err << "not downloaded: " << GbkToUtf8(form.Cell(ListControl::Episodes, row, 0)) << '\n';
    status = kExitIncomplete;
  }
  return status;
}

int BatchCommand(const CommandContext& context, const std::vector<std::string>& seriesIds,
                 const std::string& directory) {
  const std::string saveDirectory = ChosenDirectory(directory, context.seriesDirectory);
  if (saveDirectory.empty()) {
    context.err << "请先选择你要保存的目录 (-o DIR)\n";
    return kExitBadInput;
  }
  TerminalForm form(context.err, context.interactive, context.cancelled);
  form.SetText(TextBox::SeriesDirectory, saveDirectory);
  for (const std::string& id : seriesIds) {
    // A row as the search would give it; with no course name, the details file takes the
    // course title of the series page.
    const int row = form.AppendRow(ListControl::SearchResults);
    form.SetCell(ListControl::SearchResults, row, kSeriesIdColumn, Utf8ToGbk(id));
    form.CheckRow(ListControl::SearchResults, row, true);
  }
  DownloadEngine engine;
  form.WatchEngine(&engine);
  BatchDownload(form, engine, context.hosts);
  if (Interrupted(context)) return kExitInterrupted;

  int status = kExitOk;
  for (int row = 0; row < form.RowCount(ListControl::SearchResults); ++row) {
    if (form.Cell(ListControl::SearchResults, row, kSearchProgress) == Utf8ToGbk("下载结束")) continue;
    context.err << "not downloaded completely: series " << seriesIds[static_cast<size_t>(row)] << '\n';
    status = kExitIncomplete;
  }
  return status;
}

int ExportCommand(const CommandContext& context, const std::string& url, bool addresses, const std::string& file,
                  const std::optional<RangeOption>& range) {
  TerminalForm form(context.err, context.interactive, context.cancelled);
  if (!ReadSeriesInto(form, context, url, range)) return kExitBadInput;
  form.saveFileAnswer = file;
  if (addresses) {
    ExportAddresses(form);
  } else {
    ExportList(form);
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    context.err << "could not write " << file << '\n';
    return kExitIncomplete;
  }
  return kExitOk;
}

int GetCommand(const CommandContext& context, const std::string& address, const std::string& file) {
  TerminalForm form(context.err, context.interactive, context.cancelled);
  DownloadEngine engine;
  TaskParam param;
  param.source = address;
  param.target = file;
  if (!engine.AddTask(param)) {
    context.err << "not a usable address: " << address << '\n';
    return kExitBadInput;
  }
  const std::string name = std::filesystem::path(file).filename().string();
  while (!engine.WaitUntilIdle(std::chrono::milliseconds(500))) {
    if (Interrupted(context)) {
      engine.Stop();
      engine.WaitUntilIdle(std::chrono::milliseconds(param.stopGraceMs * 2));
      form.EndProgress();
      return kExitInterrupted;
    }
    form.ShowProgress(name, engine.ReceivedBytes(), engine.TotalBytes());
  }
  form.EndProgress();
  const TaskOutcome outcome = engine.LastOutcome();
  if (outcome.state == TaskState::Finished) return kExitOk;
  context.err << "not downloaded: " << address;
  if (!outcome.message.empty()) context.err << " (" << outcome.message << ")";
  context.err << '\n';
  return kExitIncomplete;
}

}  // namespace lecdl
