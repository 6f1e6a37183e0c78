// https: the certificate is verified; a server that cannot prove its name gets no request.

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <atomic>
#include <thread>

#include "fetch_helpers.h"
#include "net/fetch.h"

namespace lecdl {
namespace {

// A self-signed certificate for 127.0.0.1, trusted by nobody.
struct SelfSigned {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  X509* cert = X509_new();

  SelfSigned() {
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                               -1, 0);
    X509_set_issuer_name(cert, name);
    X509_sign(cert, key, EVP_sha256());
  }
  ~SelfSigned() {
    X509_free(cert);
    EVP_PKEY_free(key);
  }
};

TEST(Tls, UntrustedCertificateGivesAnEmptyBody) {
  SelfSigned identity;
  ASSERT_NE(identity.key, nullptr);
  httplib::SSLServer server(identity.cert, identity.key);
  ASSERT_TRUE(server.is_valid());
  std::atomic<int> served{0};
  server.Get("/.*", [&](const httplib::Request&, httplib::Response& res) {
    ++served;
    res.set_content("secret", "text/plain");
  });
  server.set_keep_alive_timeout(1);
  const int port = server.bind_to_any_port("127.0.0.1");
  ASSERT_GT(port, 0);
  std::thread thread([&] { server.listen_after_bind(); });

  FetchResult result{"c", "l", "r"};
  const std::string body = WebFetch(test::QuickRequest("https://127.0.0.1:" + std::to_string(port) + "/x"), result);
  server.stop();
  thread.join();

  EXPECT_EQ(body, "");
  EXPECT_EQ(result.rawHeaders, "");
  EXPECT_EQ(served, 0);
}

}  // namespace
}  // namespace lecdl
