#pragma once

// "下载选中资源": every ticked search result downloaded whole, each series into its own folder
// under the series save directory together with its details file.

#include "app/form.h"
#include "app/hosts.h"
#include "download/download_engine.h"
#include "download/episode_task.h"

namespace lecdl {

void BatchDownload(FormPort& form, DownloadEngine& engine, const Hosts& hosts, const DownloadSettings& settings = {});

}  // namespace lecdl
