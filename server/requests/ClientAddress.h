// Which address a request comes from, for the submission limit. Behind a reverse proxy every
// player would share the proxy's address, so when the connection comes from a trusted proxy the
// client's address is read from X-Forwarded-For: the rightmost address in it that is not itself
// a trusted proxy (the entries to its left were written by the client and prove nothing). From
// any other peer the header is ignored. Built once by main from --trusted-proxy; used by the
// server's request threads (read-only).
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class ClientAddress {
 public:
  explicit ClientAddress(const std::vector<std::string>& trustedProxies = {});

  // The address of the client behind a connection from `peer` that carried `forwardedFor`
  // (every X-Forwarded-For header of the request, joined with ','; empty when there was none).
  std::string resolve(const std::string& peer, const std::string& forwardedFor) const;

  // Whether `address` is one of the trusted proxies.
  bool isTrusted(const std::string& address) const;

  // `text` as an IPv4 or IPv6 address in its standard spelling (IPv4-mapped IPv6 as IPv4);
  // empty when it is not an address.
  static std::string normalise(const std::string& text);

 private:
  std::unordered_set<std::string> trusted;
};
