// CertificatePair: one TLS certificate chain and its private key, read from two PEM files and
// held in GnuTLS's form for the handshake. Made by CertificateReloader at start-up and on every
// reload; immutable once loaded, so handshakes on any thread may read it at once.
#pragma once

#include <gnutls/abstract.h>
#include <gnutls/gnutls.h>

#include <memory>
#include <string>
#include <vector>

class CertificatePair {
 public:
  // Reads the chain (server certificate first, then any intermediates) and the key. Null with a
  // one-line `error` when a file cannot be read, holds no certificate or key, or the key does
  // not belong to the first certificate.
  static std::unique_ptr<CertificatePair> load(const std::string& certificateFile, const std::string& keyFile,
                                               std::string& error);
  ~CertificatePair();
  CertificatePair(const CertificatePair&) = delete;
  CertificatePair& operator=(const CertificatePair&) = delete;

  // What GnuTLS's certificate callback hands out; valid as long as this object.
  gnutls_pcert_st* chain() { return certificates.data(); }
  unsigned chainLength() const { return static_cast<unsigned>(certificates.size()); }
  gnutls_privkey_t key() const { return privateKey; }

 private:
  CertificatePair() = default;

  std::vector<gnutls_pcert_st> certificates;
  gnutls_privkey_t privateKey = nullptr;
};
