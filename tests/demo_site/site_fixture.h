// One demo site per test program, on a free loopback port.
#pragma once

#include <httplib.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "site_server.h"

class DemoSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo::SiteOptions options;
    options.port = 0;
    server_ = std::make_unique<demo::SiteServer>(options);
  }
  static void TearDownTestSuite() { server_.reset(); }

  static demo::SiteServer& Server() { return *server_; }

  static httplib::Result Get(const std::string& target, const httplib::Headers& headers = {}) {
    httplib::Client client("127.0.0.1", server_->Port());
    return client.Get(target.c_str(), headers);
  }

  static std::string Body(const std::string& target) {
    auto res = Get(target);
    EXPECT_TRUE(res) << target;
    return res ? res->body : std::string();
  }

 private:
  static inline std::unique_ptr<demo::SiteServer> server_;
};
