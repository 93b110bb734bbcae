// CurlHttpTransport: the high-score workers' HTTP over libcurl. Made by the shell's (and the
// tests') transport factory, one per worker, and used on that worker's thread. Keeps libcurl
// out of the game core. https:// is always verified, certificate and host name, against the
// system's trust store, or against a CA file of the player's choice (a private server); a
// failed verification is reported as a certificate problem, never as a network one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HttpTransport.h"

class CurlHttpTransport : public HttpTransport {
 public:
  // `caFile`: a PEM file of the certificate authorities to trust instead of the system's;
  // empty for the system's trust store.
  explicit CurlHttpTransport(HttpLimits limits = HttpLimits(), std::string caFile = std::string());

  // A factory of transports with the default limits, for the game and the tests; `caFile` as
  // for the constructor.
  static HttpTransportFactory factory(const std::string& caFile = std::string());

  // The start of the error of a request whose server could not be verified.
  static constexpr const char* CERTIFICATE_PROBLEM = "the server's certificate could not be verified";

  void setCancelCheck(std::function<bool()> cancelled) override;
  HttpResponse get(const std::string& url) const override;
  HttpResponse post(const std::string& url, const std::string& body, const std::vector<Header>& headers) const override;

  const HttpLimits& limits() const { return bounds; }

 private:
  HttpResponse perform(const std::string& url, const std::string* postBody, const std::vector<Header>& headers) const;

  HttpLimits bounds;
  std::string trustedAuthorities;
  std::function<bool()> cancelCheck;
};
