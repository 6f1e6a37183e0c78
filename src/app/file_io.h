#pragma once

#include <filesystem>
#include <string_view>

namespace lecdl {

// Writes `bytes` as the whole content of `path` (created, or replaced when it exists). The bytes
// go to a temporary beside it first and are renamed over the file, so a failed write leaves the
// old file as it was. False when anything failed.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace lecdl
