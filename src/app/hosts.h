#pragma once

// Where the programs find the video site and the maker's servers: section HOSTS of the settings
// file, each value "host" or "host:port" without a scheme (the feedback page is a full address).

#include <filesystem>
#include <string>

#include "app/ini_file.h"

namespace lecdl {

struct Hosts {
  std::string site = "127.0.0.1:8765";    // series, address and search pages
  std::string video = "127.0.0.1:8765";   // the video files
  std::string stats = "127.0.0.1:8765";   // the usage counter
  std::string status = "127.0.0.1:8765";  // the status text
  std::string update = "127.0.0.1:8765";  // the update source
  std::string feedback = "http://127.0.0.1:8765/feedback";
};

// The hosts of the settings; a missing or empty key keeps its default.
Hosts ReadHosts(const IniFile& settings);

// ini.ini beside the running executable.
std::filesystem::path DefaultSettingsPath();

}  // namespace lecdl
