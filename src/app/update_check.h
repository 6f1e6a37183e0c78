#pragma once

// The start-up version check, without the window: whether an update is to be shown, and the
// texts the update window shows.

#include <string>
#include <string_view>

#include "app/hosts.h"
#include "app/update_source.h"

namespace lecdl {

enum class UpdateKind {
  None,       // same version, or no answer from the update source: start-up goes on
  Optional,   // a different version that may be skipped
  Mandatory,  // a different version whose flag is exactly "1"
};

struct UpdateDecision {
  UpdateKind kind = UpdateKind::None;
  UpdateInfo info;           // as received
  std::string versionLabel;  // caption of 当前的版本信息
  std::string notes;         // release notes, cleaned
};

// The decision on what the update source gave. A newest version compares by its leading
// digits and for equality only, so an older one is an update too; an empty one is none.
UpdateDecision DecideUpdate(const UpdateInfo& info);

// Asks the update source, once more when the newest version came back empty, and decides.
// Blocks for at most two bounded requests (see FetchUpdateInfo).
UpdateDecision CheckForUpdate(const Hosts& hosts);

// "当前软件版本号: 190--------------最新版本号: " + the newest version as received.
std::string VersionLabelText(std::string_view newestVersion);

// Paragraphs become lines: "<p>" goes, "&nbsp;" becomes three spaces, tabs go, "</p>" becomes
// "\r\n"; letter case ignored, at most 50 of each, no other markup touched.
std::string CleanReleaseNotes(std::string_view notes);

// The question asked when a mandatory update is skipped (OK ends the program).
std::string MandatoryUpdateMessage();

}  // namespace lecdl
