#pragma once

// The command line's download commands: download, batch, export and get.

#include <atomic>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/hosts.h"
#include "cli/commands.h"

namespace lecdl {

// What every download command shares: the hosts, the saved folders, the terminal.
struct CommandContext {
  Hosts hosts;
  std::string episodeDirectory;  // GBK, the saved LJ
  std::string seriesDirectory;   // GBK, the saved LJ1
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;                    // the error stream is a terminal
  const std::atomic<bool>* cancelled = nullptr;  // set by Ctrl-C
};

int DownloadCommand(const CommandContext& context, const std::string& url, const std::optional<RangeOption>& range,
                    const std::vector<int>& only, const std::string& directory);
int BatchCommand(const CommandContext& context, const std::vector<std::string>& seriesIds,
                 const std::string& directory);
int ExportCommand(const CommandContext& context, const std::string& url, bool addresses, const std::string& file,
                  const std::optional<RangeOption>& range);
int GetCommand(const CommandContext& context, const std::string& address, const std::string& file);

}  // namespace lecdl
