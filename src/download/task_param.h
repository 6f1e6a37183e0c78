#pragma once

// What one download task is given, and how it ended.

#include <cstdint>
#include <filesystem>
#include <string>

namespace lecdl {

struct TaskParam {
  int kind = 1;  // 1: a download
  std::string source;
  std::filesystem::path target;
  std::string ftpUser = "anonymous";
  std::string ftpPassword = "lecdl@example.com";  // anonymous login; 17 characters
  int connections = 1;
  std::int64_t speedLimitBytesPerSecond = 0;  // 0: none
  long connectTimeoutMs = 20000;
  long sendTimeoutMs = 20000;
  long receiveTimeoutMs = 20000;  // no byte for this long ends an attempt
  long stopGraceMs = 1000;
  long blockSize = 20480;
  long engineSetting13 = 1024;
  long engineSetting14 = 0;
  long engineSetting15 = 0;
  std::string ftpSetting;
  int ftpTransferType = 1;  // binary
  std::string ftpAsciiExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
  std::string engineText19;
  std::string engineText20;

  // Ours: how often and how patiently a transient failure is tried again.
  int maxRetries = 5;
  long retryBaseMs = 500;
  long retryCapMs = 30000;
};

enum class TaskState { None, Finished, Failed, Stopped };

struct TaskOutcome {
  TaskState state = TaskState::None;
  long httpStatus = 0;  // of the last response, 0 when none came
  std::string message;
  std::int64_t totalBytes = -1;  // -1 while unknown
  std::filesystem::path path;
};

}  // namespace lecdl
