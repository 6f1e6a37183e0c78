#pragma once

// The file a download lands in: opened once, sized to the whole resource up front, written at
// explicit offsets so that several parts of it could be filled at once.

#include <cstdint>
#include <filesystem>
#include <string>

namespace lecdl {

class TargetFile {
 public:
  TargetFile() = default;
  ~TargetFile();
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;

  // Opens (creating) the file without losing what it holds. Message in `error` on failure.
  bool Open(const std::filesystem::path& path, std::string& error);
  bool IsOpen() const { return fd_ >= 0; }
  // Sets the size to exactly `size` bytes and reserves the blocks where the file system can.
  bool Resize(std::int64_t size);
  bool WriteAt(std::int64_t offset, const char* data, size_t size);
  bool Sync();
  // Starts writing a range to the disk without waiting for it.
  void StartWriteback(std::int64_t offset, std::int64_t size);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace lecdl
