// CurlHttpTransport: the high-score workers' HTTP over libcurl. Made by the shell's (and the
// tests') transport factory, one per worker, and used on that worker's thread. Keeps libcurl
// out of the game core.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HttpTransport.h"

class CurlHttpTransport : public HttpTransport {
 public:
  explicit CurlHttpTransport(HttpLimits limits = HttpLimits());

  // A factory of transports with the default limits, for the game and the tests.
  static HttpTransportFactory factory();

  void setCancelCheck(std::function<bool()> cancelled) override;
  HttpResponse get(const std::string& url) const override;
  HttpResponse post(const std::string& url, const std::string& body, const std::vector<Header>& headers) const override;

  const HttpLimits& limits() const { return bounds; }

 private:
  HttpResponse perform(const std::string& url, const std::string* postBody, const std::vector<Header>& headers) const;

  HttpLimits bounds;
  std::function<bool()> cancelCheck;
};
