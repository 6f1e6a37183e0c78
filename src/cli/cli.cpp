#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <ostream>

#include "app/hosts.h"
#include "app/ini_file.h"
#include "app/version.h"
#include "cli/commands.h"
#include "cli/download_commands.h"

namespace lecdl {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted.store(true); }

// Ctrl-C ends a download at its next wait; its control file stays, so the next run resumes.
void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

std::optional<std::optional<RangeOption>> RangeFrom(const std::string& text, std::ostream& err) {
  if (text.empty()) return std::optional<RangeOption>();
  auto range = ParseRange(text);
  if (!range) {
    err << "--range takes A-B, two positions such as 3-5\n";
    return std::nullopt;
  }
  return range;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"lecdl: saves the lecture videos of a course series", "lecdl"};
  app.set_version_flag("--version", VersionText(), "Print the version and exit");
  std::string configPath;
  app.add_option("--config", configPath, "Settings file to use instead of ini.ini beside the program");
  app.require_subcommand(1);

  std::string url;
  std::string rangeText;
  std::string directory;
  auto* list = app.add_subcommand("list", "Read a series: one line per episode, title <TAB> video address");
  list->add_option("URL", url, "Address of the series page")->required();
  list->add_option("--range", rangeText, "Only the episodes at positions A to B (as \"区段获取\")");

  std::string keyword;
  std::string field = "title";
  auto* search = app.add_subcommand("search", "Search the site: series id <TAB> course <TAB> teacher <TAB> school");
  search->add_option("KEYWORD", keyword, "Keyword to search for")->required();
  search->add_option("--field", field, "Field to search: all, title, teacher, school, caption")
      ->check(CLI::IsMember({"all", "title", "teacher", "school", "caption"}));

  std::vector<int> only;
  auto* download = app.add_subcommand("download", "Read a series and download its episodes into DIR/<course>/");
  download->add_option("URL", url, "Address of the series page")->required();
  download->add_option("--range", rangeText, "Only the episodes at positions A to B");
  download->add_option("--only", only, "Only these rows (1-based), as ticking them")->delimiter(',');
  download->add_option("-o", directory, "Save directory (default: the saved one)");

  std::vector<std::string> seriesIds;
  auto* batch = app.add_subcommand("batch", "Download whole series with their details files into DIR/<course>/");
  batch->add_option("SERIES_ID", seriesIds, "Series ids")->required();
  batch->add_option("-o", directory, "Save directory (default: the saved one)");

  std::string file;
  bool titles = false;
  bool addresses = false;
  auto* exportList = app.add_subcommand("export", "Read a series and write its title list or address list");
  exportList->add_option("URL", url, "Address of the series page")->required();
  auto* titlesFlag = exportList->add_flag("--titles", titles, "Write title----address lines");
  auto* addressesFlag = exportList->add_flag("--addresses", addresses, "Write the addresses only");
  titlesFlag->excludes(addressesFlag);
  exportList->add_option("FILE", file, "File to write")->required();
  exportList->add_option("--range", rangeText, "Only the episodes at positions A to B");

  std::string address;
  auto* get = app.add_subcommand("get", "Download one video address into FILE (resumes, retries)");
  get->add_option("ADDRESS", address, "Video-file address")->required();
  get->add_option("-o", file, "Target file")->required();

  try {
    app.parse(argc, argv);
    if (exportList->parsed() && titles == addresses) throw CLI::ValidationError("export", "give --titles or --addresses");
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kExitOk : kExitBadInput;
  }

  const IniFile settings = IniFile::Load(configPath.empty() ? DefaultSettingsPath() : std::filesystem::path(configPath));
  const Hosts hosts = ReadHosts(settings);
  const auto range = RangeFrom(rangeText, err);
  if (!range) return kExitBadInput;
  if (list->parsed()) return ListCommand(hosts, url, *range, out, err);
  if (search->parsed()) return SearchCommand(hosts, keyword, field, out, err);

  CatchInterrupt();
  const CommandContext context{hosts,
                               settings.Value("PZXM", "LJ").value_or(""),
                               settings.Value("PZXM", "LJ1").value_or(""),
                               out,
                               err,
                               isatty(STDERR_FILENO) == 1,
                               &interrupted};
  if (download->parsed()) return DownloadCommand(context, url, *range, only, directory);
  if (batch->parsed()) return BatchCommand(context, seriesIds, directory);
  if (exportList->parsed()) return ExportCommand(context, url, addresses, file, *range);
  return GetCommand(context, address, file);
}

}  // namespace lecdl
