#pragma once

// Speed and time left of a transfer, from samples of its received and total bytes.

#include <chrono>
#include <cstdint>
#include <string>

namespace lecdl {

class ProgressMeter {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts a new transfer: forgets the speed of the last one.
  void Reset();
  // "45.2%  3.1 MB/s  ETA 0:12" for the bytes at `now`; parts that are not known yet are left out.
  std::string Line(std::int64_t received, std::int64_t total, Clock::time_point now = Clock::now());

 private:
  bool started_ = false;
  Clock::time_point lastTime_{};
  std::int64_t lastReceived_ = 0;
  double bytesPerSecond_ = 0;
};

// "3.1 MB/s" style sizes: B, KB, MB, GB with one decimal above bytes.
std::string HumanBytes(double bytes);

}  // namespace lecdl
