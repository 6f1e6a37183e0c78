#pragma once

// The demo site, a download engine, a save folder inside a scratch folder, and a window in
// memory: what the download commands need, with a fast clock.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/hosts.h"
#include "app/memory_form.h"
#include "catalog.h"
#include "download/download_engine.h"
#include "download/episode_task.h"
#include "scrape/series_reader.h"
#include "site_server.h"
#include "support/temp_dir.h"
#include "text/encoding.h"
#include "video.h"

namespace lecdl {

class DownloadTest : public ::testing::Test {
 protected:
  DownloadTest() : server_(Ephemeral()) {
    const std::string host = server_.HostPort();
    hosts_.site = hosts_.video = hosts_.stats = hosts_.status = host;
    std::filesystem::create_directory(SaveDir());
    form_.SetText(TextBox::EpisodeDirectory, GbkPath(SaveDir()));
    form_.SetText(TextBox::SeriesDirectory, GbkPath(SaveDir()));
    // One poll period is 50 ms here instead of a second; the bounds stay small.
    settings_.pollMs = 50;
    settings_.task.connectTimeoutMs = 2000;
    settings_.task.receiveTimeoutMs = 1000;
    settings_.task.maxRetries = 2;
    settings_.task.retryBaseMs = 50;
    settings_.task.stopGraceMs = 500;
  }

  static demo::SiteOptions Ephemeral() {
    demo::SiteOptions options;
    options.port = 0;
    return options;
  }

  static std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }
  static std::string GbkPath(const std::filesystem::path& path) { return Utf8ToGbk(path.string()); }

  std::filesystem::path SaveDir() const { return scratch_ / "save"; }

  void ReadSeriesOf(const char* id) {
    form_.SetText(TextBox::SeriesAddress, "http://" + hosts_.site + "/serie_" + id + ".shtml");
    ReadSeries(form_, hosts_);
    form_.messages.clear();
  }

  // The bytes the demo site serves for an episode's video file.
  static std::string VideoOf(const char* seriesId, int episode) {
    const demo::Series* series = demo::FindSeries(seriesId);
    const std::string playId = demo::PlayId(*series, episode);
    return demo::VideoBytes(demo::FileSeed(playId), 0,
                            static_cast<size_t>(series->episodes[static_cast<size_t>(episode) - 1].size));
  }

  // Every regular file under the scratch folder, relative to it.
  std::set<std::string> FilesWritten() const {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch_.Path())) {
      if (entry.is_regular_file()) files.insert(std::filesystem::relative(entry.path(), scratch_.Path()).string());
    }
    return files;
  }

  std::vector<std::string> ProgressColumn() {
    std::vector<std::string> texts;
    for (const auto& row : form_.Rows(ListControl::Episodes)) texts.push_back(GbkToUtf8(row.cells[2]));
    return texts;
  }

  test::TempDir scratch_;
  demo::SiteServer server_;
  Hosts hosts_;
  MemoryForm form_;
  DownloadEngine engine_;
  DownloadSettings settings_;
};

}  // namespace lecdl
