#pragma once

// A demo site on a free loopback port, hosts pointing at it, and an in-memory window.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/hosts.h"
#include "app/memory_form.h"
#include "site_server.h"
#include "text/encoding.h"

namespace lecdl {

class SiteTest : public ::testing::Test {
 protected:
  explicit SiteTest(demo::SiteOptions options = Ephemeral()) : server_(std::move(options)) {
    const std::string host = server_.HostPort();
    hosts_.site = hosts_.video = hosts_.stats = hosts_.status = hosts_.update = host;
  }

  static demo::SiteOptions Ephemeral() {
    demo::SiteOptions options;
    options.port = 0;
    return options;
  }

  std::vector<std::string> Requests(std::string_view prefix = {}) { return server_.Site().Log().Targets(prefix); }

  std::string Site() const { return "http://" + hosts_.site; }

  // Texts of the window are GBK; the tests write their expectations in UTF-8.
  static std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

  demo::SiteServer server_;
  Hosts hosts_;
  MemoryForm form_;
};

}  // namespace lecdl
