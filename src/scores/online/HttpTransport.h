// HttpTransport: what the high-score workers need of HTTP: one blocking GET or POST at a time,
// bounded in time and in the size of the reply body, and cancellable from another thread. The
// core declares it; the shell and the tests pass in the implementation (libcurl's, in
// platform/net) through a factory, and each worker owns the transport it was given.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The bounds of one request.
struct HttpLimits {
  // Generous enough for a slow mobile link: an upload cut short may have been stored anyway.
  long connectTimeoutMs = 5000;
  long totalTimeoutMs = 20000;
  // A reply body longer than this is not read on: the request fails.
  size_t maxBodyBytes = 64 * 1024;
};

// The outcome of one request, owned by the caller.
struct HttpResponse {
  // The exchange ended with a whole reply (any status). False after a network error, a
  // time-out, a cut-off reply, an oversized body or a cancel.
  bool completed = false;
  // The HTTP status of a completed exchange, 0 otherwise.
  long status = 0;
  // The reply body as received (empty when the exchange did not complete).
  std::string body;
  // Why the exchange did not complete (for diagnostics only).
  std::string error;

  // A whole reply with a 2xx status.
  bool succeeded() const { return completed && status >= 200 && status < 300; }
};

class HttpTransport {
 public:
  using Header = std::pair<std::string, std::string>;

  virtual ~HttpTransport() = default;

  // `cancelled` is polled (from the requesting thread) while a request waits or transfers, at
  // least about once a second; when it returns true the request ends as not completed. Set
  // before the first request.
  virtual void setCancelCheck(std::function<bool()> cancelled) = 0;

  // Only http:// and https:// addresses are requested; anything else fails at once.
  virtual HttpResponse get(const std::string& url) const = 0;
  // Sends `body` with the given header fields (a field given here replaces the one the
  // transport would add, such as Content-Length).
  virtual HttpResponse post(const std::string& url, const std::string& body, const std::vector<Header>& headers) const = 0;
};

// Makes a fresh transport for one worker; called on the main thread when the worker is made.
using HttpTransportFactory = std::function<std::unique_ptr<HttpTransport>()>;
