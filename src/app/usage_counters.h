#pragma once

// The two lines fed by the maker's servers: the usage total (标签5) and the status text
// (状态条1). Both are plain blocking calls, meant for a worker thread: each request gives up
// after the 18-second time-outs of the statistics fetch (connect, then receive), and an
// unreachable host fails at once. Nothing is reported; a failure shows as an empty piece.

#include "app/form.h"
#include "app/hosts.h"

namespace lecdl {

// Reads the counter total (between "使用" and "人次") into the usage line; a piece longer than
// 10 bytes is fetched once more and the second one kept, whatever it is.
void ShowUsageCount(FormPort& form, const Hosts& hosts);

// Sets the status bar to the status-text host's answer, taken whole (also when empty).
void RefreshStatusText(FormPort& form, const Hosts& hosts);

}  // namespace lecdl
