// A DemoSite serving on its own thread: what the program runs, and what
// in-process tests start on a free port.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "site.h"

namespace httplib {
class Server;
}

namespace demo {

class SiteServer {
 public:
  // Binds the port of `options` (0: any free port) and starts serving.
  // Throws std::runtime_error when the port cannot be bound.
  explicit SiteServer(SiteOptions options = {});
  ~SiteServer();
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;

  int Port() const { return port_; }
  std::string HostPort() const;  // "127.0.0.1:PORT", the form of the HOSTS settings
  DemoSite& Site() { return site_; }

  // Stops serving and waits for the serving thread; safe to call twice.
  void Stop();

 private:
  DemoSite site_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = -1;
};

}  // namespace demo
