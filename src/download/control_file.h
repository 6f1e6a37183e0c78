#pragma once

// The marker of an incomplete download: a small file beside the target naming the address, the
// full size and how many leading bytes are known to be on disk. The origin of a complete file is
// kept in an extended attribute of the file itself.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lecdl {

struct PartRecord {
  std::string url;
  std::int64_t total = -1;  // -1: the server did not say
  std::int64_t done = 0;
};

std::filesystem::path PartPathFor(const std::filesystem::path& target);

std::optional<PartRecord> ReadPartRecord(const std::filesystem::path& partPath);
// Written to a temporary name, flushed and renamed, so a reader sees the old or the new record.
bool WritePartRecord(const std::filesystem::path& partPath, const PartRecord& record);
void RemovePartRecord(const std::filesystem::path& partPath);

// The address a complete file came from; empty when none is recorded or the file system keeps
// no such attributes.
std::string ReadOrigin(const std::filesystem::path& file);
bool WriteOrigin(const std::filesystem::path& file, const std::string& url);

}  // namespace lecdl
