// Blocking HTTP requests for the online high scores: one GET or one POST at a time, bounded in
// time (connect and total time-outs) and in the size of the reply body, and cancellable from
// another thread. Used by the high-score workers on their own threads; each worker owns its
// client. Keeps libcurl out of the game core.
#pragma once

#include <cstddef>
#include <functional>
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

class HttpClient {
 public:
  using Header = std::pair<std::string, std::string>;

  explicit HttpClient(HttpLimits limits = HttpLimits());

  // `cancelled` is polled (from the requesting thread) while a request waits or transfers, at
  // least about once a second; when it returns true the request ends as not completed.
  void setCancelCheck(std::function<bool()> cancelled);

  // Only http:// and https:// addresses are requested; anything else fails at once.
  HttpResponse get(const std::string& url) const;
  // Sends `body` with the given header fields (a field given here replaces the one the
  // transport would add, such as Content-Length).
  HttpResponse post(const std::string& url, const std::string& body, const std::vector<Header>& headers) const;

  const HttpLimits& limits() const { return bounds; }

 private:
  HttpResponse perform(const std::string& url, const std::string* postBody, const std::vector<Header>& headers) const;

  HttpLimits bounds;
  std::function<bool()> cancelCheck;
};
