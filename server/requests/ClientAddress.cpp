// The client's address behind trusted proxies.
#include "ClientAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

ClientAddress::ClientAddress(const std::vector<std::string>& trustedProxies) {
  for (const std::string& proxy : trustedProxies) {
    const std::string address = normalise(proxy);
    if (!address.empty()) trusted.insert(address);
  }
}

std::string ClientAddress::normalise(const std::string& text) {
  char out[INET6_ADDRSTRLEN] = {0};
  in_addr four{};
  if (inet_pton(AF_INET, text.c_str(), &four) == 1) return inet_ntop(AF_INET, &four, out, sizeof out);
  in6_addr six{};
  if (inet_pton(AF_INET6, text.c_str(), &six) != 1) return std::string();
  if (IN6_IS_ADDR_V4MAPPED(&six)) return inet_ntop(AF_INET, &six.s6_addr[12], out, sizeof out);
  return inet_ntop(AF_INET6, &six, out, sizeof out);
}

bool ClientAddress::isTrusted(const std::string& address) const { return trusted.count(address) != 0; }

std::string ClientAddress::resolve(const std::string& peer, const std::string& forwardedFor) const {
  if (!isTrusted(peer) || forwardedFor.empty()) return peer;
  // Walk from the proxy nearest to us towards the client; stop at the first hop we do not trust.
  std::string hop = peer;
  size_t end = forwardedFor.size();
  while (true) {
    const size_t comma = forwardedFor.rfind(',', end == 0 ? 0 : end - 1);
    const size_t start = (comma == std::string::npos || comma >= end) ? 0 : comma + 1;
    const std::string entry = normalise(trimmed(forwardedFor.substr(start, end - start)));
    // A malformed entry was not written by a proxy we trust: the last trusted hop is the best
    // address we know.
    if (entry.empty()) return hop;
    if (!isTrusted(entry)) return entry;
    hop = entry;
    if (start == 0) return hop;
    end = start - 1;
  }
}
