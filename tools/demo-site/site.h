// The demo site: installs on an httplib::Server every host the programs talk
// to (video site, video file host, counter, status text), with generated
// content, so the whole program runs against loopback. Also the update source.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "faults.h"
#include "request_log.h"
#include "stop_signal.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace demo {

struct SiteOptions {
  std::string host = "127.0.0.1";
  int port = 8765;  // 0: any free port
  int latency_ms = 0;  // every answer waits this long first
  // "cg=1" confirms the count with "统计成功"; without it readers fall back to
  // a second request with "cg=0".
  bool count_confirms = true;
  std::int64_t usage_start = 12345;  // the counter's total at start
  // The update source: the newest version it announces (190 is the program's
  // own, so no update) and whether that update may not be skipped.
  std::string announce_version = "190";
  bool update_mandatory = false;
  std::vector<FaultRule> faults;     // added in order, as AddFault would
};

class DemoSite {
 public:
  explicit DemoSite(SiteOptions options = {});

  // Routes every request through this site. Call before the server listens.
  void Install(httplib::Server& server);

  // The port actually bound, which pages use in the addresses they name.
  void SetPort(int port);
  std::string BaseAddress() const;  // "http://host:port"

  const SiteOptions& Options() const { return options_; }
  RequestLog& Log() { return log_; }
  std::int64_t UsageCount() const { return usage_.load(); }

  // Fault switches for video files (/v/ and /cn/v/), by play id or "*" for
  // every file; they act on GET requests only. Safe from any thread, at any time.
  void SetFault(const std::string& play_id_or_star, FaultSpec faultSpec);  // replaces its faults
  void AddFault(const std::string& play_id_or_star, FaultSpec faultSpec);
  void ClearFaults();
  // Requests (any method, either spelling) for that file since the log was last cleared.
  int VideoRequests(std::string_view play_id) const;

  // Ends every wait a fault started and every later one; call before stopping
  // the server this site is installed on. SiteServer::Stop does.
  void ReleaseWaits() { stop_.Raise(); }

 private:
  // The one entry of every request; options apply here, before any page is
  // made. Fault switches apply in ServeVideo.
  void Handle(const httplib::Request& req, httplib::Response& res);
  void Route(const httplib::Request& req, httplib::Response& res);

  void ServeSeries(std::string_view id, httplib::Response& res);
  void ServeAddressPage(std::string_view play_id, httplib::Response& res);
  void ServeSearch(const httplib::Request& req, httplib::Response& res);
  void ServeVideo(const httplib::Request& req, std::string_view path, httplib::Response& res);
  void ServeFaultStatus(const FaultSpec& faultSpec, httplib::Response& res);
  void ServeCounter(const httplib::Request& req, httplib::Response& res);
  void ServeStatusText(httplib::Response& res);
  void ServeUpdate(httplib::Response& res);
  void ServeDownloadPage(std::string_view path, httplib::Response& res);
  void ServeNotFound(httplib::Response& res);

  SiteOptions options_;
  std::atomic<int> port_;
  std::atomic<std::int64_t> usage_;
  RequestLog log_;
  FaultTable faults_;
  StopSignal stop_;
};

}  // namespace demo
