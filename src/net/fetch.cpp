// WebFetch: one request with browser-like defaults; a failure of any kind is an empty body.

#include "net/fetch.h"

#include "net/address.h"
#include "net/request.h"
#include "net/response.h"
#include "net/transfer.h"

namespace lecdl {

namespace {

std::string Fetch(const FetchRequest& request, FetchResult& result) {
  std::optional<std::string> url = ConnectUrl(request.url);
  // An address that cannot become a request leaves the caller's texts as they were.
  if (!url) return {};

  TransferSpec plan;
  plan.url = std::move(*url);
  plan.post = request.method == HttpMethod::Post;
  plan.body = &RequestBody(request);
  plan.agent = RequestAgent(request.extraHeaders);
  plan.headerLines = RequestHeaderLines(RequestHeaderText(request));
  plan.sharedCookieStore = request.cookies == nullptr;
  plan.followRedirects = !request.noRedirect;
  plan.proxy = request.proxy;
  plan.limits = request.limits;

  std::optional<TransferOutcome> outcome = RunTransfer(plan);
  if (!outcome) return {};
  // A header block beyond the 5000-byte limit reads as no headers at all.
  FillFetchResult(outcome->headersTooLong ? std::string_view() : outcome->headers, request.cookies, result);
  return std::move(outcome->body);
}

}  // namespace

std::string WebFetch(const FetchRequest& request, FetchResult& result) {
  try {
    return Fetch(request, result);
  } catch (...) {  // only allocation can throw here; the contract is an empty body
    return {};
  }
}

std::string WebFetch(const FetchRequest& request) {
  FetchResult ignored;
  return WebFetch(request, ignored);
}

std::string FetchPageText(std::string_view address) {
  FetchRequest request;
  request.url = std::string(address);
  std::string body = WebFetch(request);
  const size_t zero = body.find('\0');
  if (zero != std::string::npos) body.resize(zero);
  return body;
}

}  // namespace lecdl
