#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "app/hosts.h"
#include "app/ini_file.h"
#include "app/version.h"
#include "cli/commands.h"

namespace lecdl {

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"lecdl: saves the lecture videos of a course series", "lecdl"};
  app.set_version_flag("--version", VersionText(), "Print the version and exit");
  std::string configPath;
  app.add_option("--config", configPath, "Settings file to use instead of ini.ini beside the program");
  app.require_subcommand(1);

  std::string url;
  std::string rangeText;
  auto* list = app.add_subcommand("list", "Read a series: one line per episode, title <TAB> video address");
  list->add_option("URL", url, "Address of the series page")->required();
  list->add_option("--range", rangeText, "Only the episodes at positions A to B (as \"区段获取\")");

  std::string keyword;
  std::string field = "title";
  auto* search = app.add_subcommand("search", "Search the site: series id <TAB> course <TAB> teacher <TAB> school");
  search->add_option("KEYWORD", keyword, "Keyword to search for")->required();
  search->add_option("--field", field, "Field to search: all, title, teacher, school, caption")
      ->check(CLI::IsMember({"all", "title", "teacher", "school", "caption"}));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kExitOk : kExitBadInput;
  }

  const Hosts hosts = ReadHosts(IniFile::Load(configPath.empty() ? DefaultSettingsPath() : std::filesystem::path(configPath)));
  if (list->parsed()) {
    std::optional<RangeOption> range;
    if (!rangeText.empty()) {
      range = ParseRange(rangeText);
      if (!range) {
        err << "--range takes A-B, two positions such as 3-5\n";
        return kExitBadInput;
      }
    }
    return ListCommand(hosts, url, range, out, err);
  }
  return SearchCommand(hosts, keyword, field, out, err);
}

}  // namespace lecdl
