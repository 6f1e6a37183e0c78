#pragma once

#include <cstdint>
#include <string>

namespace lecdl {

// received / total as a percentage rounded to two decimals (halves away from zero), without
// trailing zeros: "12.35%", "50.5%", "100%". "" when the total is unknown (not above 0), so a
// caller shows no negative or endless percentage.
std::string ProgressText(std::int64_t received, std::int64_t total);

}  // namespace lecdl
