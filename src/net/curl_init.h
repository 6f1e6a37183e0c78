#pragma once

// libcurl's process-wide set-up, done once for every part of the program that uses curl.

namespace lecdl {

void InitCurlOnce();

}  // namespace lecdl
