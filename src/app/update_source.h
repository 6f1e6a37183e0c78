#pragma once

// Where the newest version comes from: the update host's answer to
//
//   GET http://<update host>/update/newest.txt
//
// a GBK text of "name=value" lines, a blank line, then the release notes:
//
//   version=191
//   mandatory=0
//   page=http://127.0.0.1:8765/update/lecdl-191.html
//
//   <p>first paragraph</p><p>second&nbsp;paragraph</p>
//
// - version: decimal text of the newest version; mandatory: "1" when the update must not be
//   skipped, anything else when it may be; page: the download page, opened in the browser.
// - Names ignore letter case; blanks around names and values go; lines end with "\n" or "\r\n".
//   Lines without "=", unknown names and every repeat of a name are ignored.
// - The notes are every byte after the first blank line, as they are (HTML-like, see
//   CleanReleaseNotes); none when there is no blank line.
// - An answer that is not a 2xx status, or that cannot be had, gives four empty texts.

#include <string>
#include <string_view>

#include "app/hosts.h"

namespace lecdl {

struct UpdateInfo {
  std::string newestVersion;
  std::string mandatory;
  std::string page;
  std::string notes;
};

inline constexpr std::string_view kUpdatePath = "/update/newest.txt";

// Reads an answer in the format above.
UpdateInfo ParseUpdateInfo(std::string_view text);

// One request to the update host, bounded like the statistics fetch (18 s to connect, 36 s in
// all); an unreachable host fails at once.
UpdateInfo FetchUpdateInfo(const Hosts& hosts);

}  // namespace lecdl
