#pragma once

// "获取地址": reads the series address typed in the window into the episode list.

#include <string>
#include <string_view>

#include "app/form.h"
#include "app/hosts.h"

namespace lecdl {

// True when the text holds the video site host directly followed by "/serie".
bool IsSeriesAddress(std::string_view text, const Hosts& hosts);

// The message shown for an address that is not a series address.
std::string NotASeriesAddressMessage(const Hosts& hosts);

// Reads the series of the address box: course title, then one row per episode (title, video-file
// address, "等待处理"), honouring the range option; reports each episode to the usage counter.
void ReadSeries(FormPort& form, const Hosts& hosts);

// Counts one fetched resource on the statistics host and shows the new total in the usage line.
void CountUse(FormPort& form, const Hosts& hosts);

// The usage line for a total as the counter gave it.
std::string UsageLineText(std::string_view total);

}  // namespace lecdl
