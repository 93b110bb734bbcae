// CertificateReloader: the TLS certificate and key the server hands to each new handshake, read
// from their files at start-up and again on request (SIGHUP), so that a renewed certificate is
// served without a restart. A reload that fails keeps the pair in use. Owned by main (or a
// test); ScoreServer serves with it between startServing() and stopServing(). load()/reload()
// on one thread at a time; the handshakes read the current pair from any thread.
#pragma once

#include <gnutls/abstract.h>
#include <gnutls/gnutls.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CertificatePair.h"

class CertificateReloader {
 public:
  CertificateReloader(std::string certificateFile, std::string keyFile);
  ~CertificateReloader();
  CertificateReloader(const CertificateReloader&) = delete;
  CertificateReloader& operator=(const CertificateReloader&) = delete;

  // Reads the files again. True when the new pair is in use for every handshake from now on;
  // false with a one-line `error` when it cannot be used, and the pair in use stays.
  bool reload(std::string& error);
  bool loaded() const { return current.load() != nullptr; }
  const std::string& certificatePath() const { return certificateFile; }

  // GnuTLS asks its certificate callback without a context of ours, so one reloader per
  // process serves: startServing() makes this the one (false when another already is, or
  // nothing is loaded), stopServing() ends that.
  bool startServing();
  void stopServing();

  // The certificate callback for libmicrohttpd (MHD_OPTION_HTTPS_CERT_CALLBACK): hands the
  // serving reloader's current pair to the handshake; fails the handshake when none serves.
  static int retrieve(gnutls_session_t session, const gnutls_datum_t* acceptedIssuers, int issuerCount,
                      const gnutls_pk_algorithm_t* algorithms, int algorithmCount, gnutls_pcert_st** chain,
                      unsigned* chainLength, gnutls_privkey_t* key);

 private:
  const std::string certificateFile;
  const std::string keyFile;
  std::mutex reloading;
  // Every pair ever loaded stays until this object goes: a handshake that began with an older
  // pair may still be using it, and reloads are rare and small.
  std::vector<std::unique_ptr<CertificatePair>> pairs;
  std::atomic<CertificatePair*> current{nullptr};
};
