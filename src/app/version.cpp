#include "app/version.h"

namespace lecdl {

std::string VersionText() {
  const int minor = CurrentVersion % 100;
  return std::to_string(CurrentVersion / 100) + "." + (minor < 10 ? "0" : "") + std::to_string(minor);
}

}  // namespace lecdl
