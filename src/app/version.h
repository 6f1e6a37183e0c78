#pragma once

#include <string>

namespace lecdl {

// The program's own version as an integer; compared with the newest one announced.
inline constexpr int CurrentVersion = 190;

// CurrentVersion as users read it: 190 -> "1.90".
std::string VersionText();

}  // namespace lecdl
