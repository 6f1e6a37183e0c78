#include "app/hosts.h"

#include <system_error>

namespace lecdl {

Hosts ReadHosts(const IniFile& settings) {
  Hosts hosts;
  const std::pair<const char*, std::string*> keys[] = {
      {"site", &hosts.site},     {"video", &hosts.video},   {"stats", &hosts.stats},
      {"status", &hosts.status}, {"update", &hosts.update}, {"feedback", &hosts.feedback},
  };
  for (const auto& [key, target] : keys) {
    const auto value = settings.Value("HOSTS", key);
    if (value && !value->empty()) *target = *value;
  }
  return hosts;
}

std::filesystem::path DefaultSettingsPath() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "ini.ini";
  return exe.parent_path() / "ini.ini";
}

}  // namespace lecdl
