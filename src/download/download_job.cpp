#include "download/download_job.h"

#include <chrono>
#include <string>
#include <system_error>

#include "download/control_file.h"
#include "download/http_attempt.h"
#include "download/retry_pause.h"
#include "download/target_file.h"

namespace lecdl {

namespace {

using Clock = std::chrono::steady_clock;

// A crash loses at most this much: the bytes since the last flush are not counted as done.
// A checkpoint waits for the disk, which stalls the transfer meanwhile: keep them few, and have
// the kernel write each finished stretch early so that a checkpoint finds little left to flush.
constexpr std::int64_t kCheckpointBytes = 256 * 1024 * 1024;
constexpr auto kCheckpointInterval = std::chrono::seconds(2);
constexpr std::int64_t kWritebackBytes = 8 * 1024 * 1024;

std::int64_t FileSize(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

// Receives the body of GET attempts into the target file and keeps the control file current.
class FileSink : public BodySink {
 public:
  FileSink(const TaskParam& param, const std::string& url, JobProgress& progress)
      : param_(param), url_(url), part_(PartPathFor(param.target)), progress_(progress) {}

  // Where the next attempt starts, and the size the resource had when the record was made.
  std::int64_t Offset() const { return offset_; }
  std::int64_t Total() const { return total_; }
  bool SizeChanged() const { return sizeChanged_; }
  const std::string& Error() const { return error_; }

  void ResumeFrom(std::int64_t offset, std::int64_t total) {
    offset_ = pos_ = offset;
    total_ = total;
    progress_.heldBytes = offset;
    progress_.totalBytes = total;
  }
  void RestartFromZero() { ResumeFrom(0, -1); }

  bool OnHead(const ResponseHead& head) override {
    sizeChanged_ = false;
    if (head.status == 206) {
      if (head.rangeStart != offset_) return Refuse("the server sent a different range");
      if (total_ >= 0 && head.rangeTotal != total_) {
        sizeChanged_ = true;
        return false;
      }
      total_ = head.rangeTotal;
    } else {
      // A whole body: whatever was there before is replaced.
      offset_ = 0;
      total_ = head.contentLength;
    }
    if (!file_.IsOpen() && !file_.Open(param_.target, error_)) return false;
    const std::int64_t size = FileSize(param_.target);
    const std::int64_t wanted = total_ >= 0 ? total_ : 0;
    if ((head.status != 206 || size != wanted) && !file_.Resize(wanted)) return Refuse("cannot size the target file");
    pos_ = offset_;
    progress_.heldBytes = pos_;
    progress_.totalBytes = total_;
    lastCheckpoint_ = Clock::now();
    checkpointPos_ = pos_;
    writebackPos_ = pos_;
    if (!WritePartRecord(part_, {url_, total_, offset_})) return Refuse("cannot write the control file");
    return true;
  }

  bool OnData(const char* data, size_t size) override {
    if (total_ >= 0 && pos_ + static_cast<std::int64_t>(size) > total_) return Refuse("the server sent too much");
    if (!file_.WriteAt(pos_, data, size)) return Refuse("cannot write the target file");
    pos_ += static_cast<std::int64_t>(size);
    progress_.heldBytes = pos_;
    if (pos_ - writebackPos_ >= kWritebackBytes) {
      file_.StartWriteback(writebackPos_, pos_ - writebackPos_);
      writebackPos_ = pos_;
    }
    if (pos_ - checkpointPos_ >= kCheckpointBytes || Clock::now() - lastCheckpoint_ >= kCheckpointInterval) {
      Checkpoint();
    }
    return true;
  }

  // Flushes what arrived and records it as done, so the next attempt asks for the rest.
  void Checkpoint() {
    if (!file_.IsOpen()) return;
    // Without a known size there is no resuming: a range could not be checked against anything.
    if (file_.Sync() && total_ >= 0 && WritePartRecord(part_, {url_, total_, pos_})) offset_ = pos_;
    checkpointPos_ = pos_;
    lastCheckpoint_ = Clock::now();
  }

  std::int64_t Position() const { return pos_; }

  // The last byte is in: size the file to what came, flush it, mark its origin, drop the marker.
  bool Finish() {
    if (!file_.IsOpen() && !file_.Open(param_.target, error_)) return false;
    if (total_ < 0 && !file_.Resize(pos_)) return Refuse("cannot size the target file");
    if (!file_.Sync()) return Refuse("cannot flush the target file");
    file_.Close();
    (void)WriteOrigin(param_.target, url_);  // without it the file is merely fetched again next time
    RemovePartRecord(part_);
    return true;
  }

  void Close() { file_.Close(); }

 private:
  bool Refuse(const std::string& why) {
    error_ = why;
    return false;
  }

  const TaskParam& param_;
  const std::string& url_;
  const std::filesystem::path part_;
  JobProgress& progress_;
  TargetFile file_;
  std::int64_t offset_ = 0;
  std::int64_t total_ = -1;
  std::int64_t pos_ = 0;
  std::int64_t checkpointPos_ = 0;
  std::int64_t writebackPos_ = 0;
  Clock::time_point lastCheckpoint_ = Clock::now();
  bool sizeChanged_ = false;
  std::string error_;
};

// Only learns the size: the body of a HEAD is empty.
class HeadSink : public BodySink {
 public:
  bool OnHead(const ResponseHead& head) override {
    length = head.contentLength;
    return true;
  }
  bool OnData(const char*, size_t) override { return true; }
  std::int64_t length = -1;
};

// A target that carries our origin mark, has no control file and the server's size is done.
bool AlreadyComplete(const TaskParam& param, const std::string& url, JobContext& context) {
  if (std::filesystem::exists(PartPathFor(param.target))) return false;
  const std::int64_t size = FileSize(param.target);
  if (size < 0 || ReadOrigin(param.target) != url) return false;
  HeadSink sink;
  const AttemptResult result = RunAttempt(context.multi, {url, 0, true}, param, sink, *context.stop);
  return result.end == AttemptEnd::Complete && sink.length == size;
}

TaskOutcome Ended(TaskState state, const TaskParam& param, long status, std::string message, std::int64_t total) {
  return TaskOutcome{state, status, std::move(message), total, param.target};
}

}  // namespace

TaskOutcome RunDownloadJob(const TaskParam& param, const std::string& url, JobContext& context) {
  if (AlreadyComplete(param, url, context)) {
    const std::int64_t size = FileSize(param.target);
    context.progress->totalBytes = size;
    return Ended(TaskState::Finished, param, 200, "already complete", size);
  }
  if (context.stop->load()) return Ended(TaskState::Stopped, param, 0, "stopped", -1);

  FileSink sink(param, url, *context.progress);
  const auto record = ReadPartRecord(PartPathFor(param.target));
  if (record && record->url == url && record->total >= 0 && record->done <= record->total &&
      FileSize(param.target) == record->total) {
    sink.ResumeFrom(record->done, record->total);
  }

  int failures = 0;
  bool rangeRefusedOnce = false;
  long lastStatus = 0;
  for (;;) {
    const AttemptResult result = RunAttempt(context.multi, {url, sink.Offset(), false}, param, sink, *context.stop);
    if (result.head.status > 0) lastStatus = result.head.status;
    sink.Checkpoint();
    const std::int64_t total = sink.Total();

    std::string why = result.message;
    bool retry = false;
    switch (result.end) {
      case AttemptEnd::Complete:
        if (total >= 0 && sink.Position() != total) {
          why = "the connection ended early";
          retry = true;
          break;
        }
        if (!sink.Finish()) return Ended(TaskState::Failed, param, lastStatus, sink.Error(), total);
        return Ended(TaskState::Finished, param, lastStatus, "finished", sink.Position());
      case AttemptEnd::Stopped:
        return Ended(TaskState::Stopped, param, lastStatus, "stopped", total);
      case AttemptEnd::HttpError:
        // A resume point past the end means the resource shrank: start over, once.
        if (result.head.status == 416 && sink.Offset() > 0 && !rangeRefusedOnce) {
          rangeRefusedOnce = true;
          sink.RestartFromZero();
          continue;
        }
        if (result.head.status < 500) return Ended(TaskState::Failed, param, lastStatus, why, total);
        retry = true;
        break;
      case AttemptEnd::SinkRefused:
        if (sink.SizeChanged()) {
          sink.RestartFromZero();
          continue;
        }
        return Ended(TaskState::Failed, param, lastStatus, sink.Error(), total);
      case AttemptEnd::NetError:
      case AttemptEnd::Stalled:
        retry = true;
        break;
    }
    if (!retry || failures >= param.maxRetries) {
      return Ended(TaskState::Failed, param, lastStatus, why, total);
    }
    if (!context.pause(RetryPause(failures, param.retryBaseMs, param.retryCapMs, result.head.retryAfterSeconds))) {
      return Ended(TaskState::Stopped, param, lastStatus, "stopped", total);
    }
    ++failures;
  }
}

}  // namespace lecdl
