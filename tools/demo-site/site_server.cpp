#include "site_server.h"

#include <chrono>

#include <httplib.h>

#include <stdexcept>

namespace demo {

SiteServer::SiteServer(SiteOptions options)
    : site_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
  site_.Install(*server_);
  const SiteOptions& o = site_.Options();
  if (o.port == 0) {
    port_ = server_->bind_to_any_port(o.host);
  } else {
    port_ = server_->bind_to_port(o.host, o.port) ? o.port : -1;
  }
  if (port_ <= 0) {
    throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
  }
  site_.SetPort(port_);
  // The socket is bound and listening already, so clients may connect before
  // the thread below reaches accept().
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() only reaches a server that is already running: wait for it, or a quick Stop() would
  // leave the thread listening forever.
  for (int i = 0; i < 5000 && !server_->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

SiteServer::~SiteServer() { Stop(); }

std::string SiteServer::HostPort() const {
  return site_.Options().host + ":" + std::to_string(port_);
}

void SiteServer::Stop() {
  if (!thread_.joinable()) return;
  site_.ReleaseWaits();
  server_->stop();
  thread_.join();
}

}  // namespace demo
