#pragma once

// Names that come from the site's pages (course and episode titles) made safe before they touch
// the disk, and the paths built from them. Texts are GBK; paths are native (UTF-8 on Linux).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lecdl {

// Longest name SafeName gives, in bytes of the file system's encoding; leaves room for a
// numbered suffix and the extension within the usual 255-byte limit.
inline constexpr size_t kMaxNameBytes = 200;

// One path component: separators, control characters and the characters Windows forbids
// become "_", as does every run of two or more dots; trailing dots and spaces go; a name that
// Windows reserves (CON, NUL, COM1, ...) gets a "_" in front; the result is cut to
// kMaxNameBytes (whole characters) and is never empty. A name that is already safe is unchanged.
std::string SafeName(std::string_view gbkTitle);

// Safe names for the rows of a list, in row order: a name taken by an earlier row (letter case
// ignored) gets " (2)", " (3)", ... so that no two rows share a file.
std::vector<std::string> DistinctSafeNames(const std::vector<std::string>& gbkTitles);

}  // namespace lecdl
