#include "download/target_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lecdl {

TargetFile::~TargetFile() { Close(); }

bool TargetFile::Open(const std::filesystem::path& path, std::string& error) {
  Close();
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) error = "cannot open " + path.string() + ": " + std::strerror(errno);
  return fd_ >= 0;
}

bool TargetFile::Resize(std::int64_t size) {
  if (fd_ < 0 || size < 0) return false;
  if (::ftruncate(fd_, size) != 0) return false;
  // The size is right already; reserving the blocks only spares fragmentation and a late
  // "disk full", so a file system that cannot do it is no failure.
  if (size > 0) (void)::fallocate(fd_, 0, 0, size);
  return true;
}

bool TargetFile::WriteAt(std::int64_t offset, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

bool TargetFile::Sync() { return fd_ >= 0 && ::fdatasync(fd_) == 0; }

void TargetFile::StartWriteback(std::int64_t offset, std::int64_t size) {
  // Only asks the kernel to start writing; a later Sync then has little left to wait for.
  if (fd_ >= 0 && size > 0) (void)::sync_file_range(fd_, offset, size, SYNC_FILE_RANGE_WRITE);
}

void TargetFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace lecdl
