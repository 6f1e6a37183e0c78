#include "cli/progress_meter.h"

#include <cstdio>

namespace lecdl {

std::string HumanBytes(double bytes) {
  static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  int unit = 0;
  while (bytes >= 1024 && unit < 4) {
    bytes /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
  return text;
}

void ProgressMeter::Reset() {
  started_ = false;
  bytesPerSecond_ = 0;
}

std::string ProgressMeter::Line(std::int64_t received, std::int64_t total, Clock::time_point now) {
  if (started_) {
    const double seconds = std::chrono::duration<double>(now - lastTime_).count();
    if (seconds > 0.05 && received >= lastReceived_) {
      const double sample = static_cast<double>(received - lastReceived_) / seconds;
      // A moving average keeps the figure readable when samples jitter.
      bytesPerSecond_ = bytesPerSecond_ == 0 ? sample : 0.7 * bytesPerSecond_ + 0.3 * sample;
      lastTime_ = now;
      lastReceived_ = received;
    }
  } else {
    started_ = true;
    lastTime_ = now;
    lastReceived_ = received;
  }
  char text[128];
  std::string line;
  if (total > 0) {
    std::snprintf(text, sizeof text, "%5.1f%%", 100.0 * static_cast<double>(received) / static_cast<double>(total));
    line = text;
  } else {
    line = HumanBytes(static_cast<double>(received));
  }
  if (bytesPerSecond_ > 0) {
    line += "  " + HumanBytes(bytesPerSecond_) + "/s";
    if (total > received) {
      const auto left = static_cast<long long>(static_cast<double>(total - received) / bytesPerSecond_);
      std::snprintf(text, sizeof text, "  ETA %lld:%02lld", left / 60, left % 60);
      line += text;
    }
  }
  return line;
}

}  // namespace lecdl
