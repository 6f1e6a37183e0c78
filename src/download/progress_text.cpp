#include "download/progress_text.h"

#include <cmath>
#include <cstdio>

namespace lecdl {

std::string ProgressText(std::int64_t received, std::int64_t total) {
  if (total <= 0 || received < 0) return {};
  const double percent = std::round(static_cast<double>(received) / static_cast<double>(total) * 100.0 * 100.0) / 100.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.13g%%", percent);
  return text;
}

}  // namespace lecdl
