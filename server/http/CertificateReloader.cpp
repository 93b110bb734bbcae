// The certificate pair in use by the TLS handshakes, and its reload.
#include "CertificateReloader.h"

namespace {

std::atomic<CertificateReloader*> servingReloader{nullptr};

}  // namespace

CertificateReloader::CertificateReloader(std::string certificate, std::string key)
    : certificateFile(std::move(certificate)), keyFile(std::move(key)) {}

CertificateReloader::~CertificateReloader() { stopServing(); }

bool CertificateReloader::reload(std::string& error) {
  std::unique_ptr<CertificatePair> pair = CertificatePair::load(certificateFile, keyFile, error);
  if (pair == nullptr) return false;
  std::lock_guard<std::mutex> lock(reloading);
  current.store(pair.get());
  pairs.push_back(std::move(pair));
  return true;
}

bool CertificateReloader::startServing() {
  if (!loaded()) return false;
  CertificateReloader* none = nullptr;
  return servingReloader.compare_exchange_strong(none, this) || none == this;
}

void CertificateReloader::stopServing() {
  CertificateReloader* self = this;
  servingReloader.compare_exchange_strong(self, nullptr);
}

int CertificateReloader::retrieve(gnutls_session_t, const gnutls_datum_t*, int, const gnutls_pk_algorithm_t*, int,
                                  gnutls_pcert_st** chain, unsigned* chainLength, gnutls_privkey_t* key) {
  CertificateReloader* reloader = servingReloader.load();
  CertificatePair* pair = reloader != nullptr ? reloader->current.load() : nullptr;
  if (pair == nullptr) return -1;
  *chain = pair->chain();
  *chainLength = pair->chainLength();
  *key = pair->key();
  return 0;
}
