// Loading and checking a TLS certificate chain and its key with GnuTLS.
#include "CertificatePair.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The longest chain we accept: a server certificate and a few intermediates.
constexpr unsigned MAX_CHAIN = 16;
// PEM files beyond this are not a certificate or a key.
constexpr std::streamoff MAX_FILE_BYTES = 1024 * 1024;

bool readFile(const std::string& path, std::string& bytes, std::string& error) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path + ": " + (errno != 0 ? std::strerror(errno) : "cannot open");
    return false;
  }
  std::ostringstream all;
  all << in.rdbuf();
  bytes = all.str();
  if (static_cast<std::streamoff>(bytes.size()) > MAX_FILE_BYTES) {
    error = path + " is too large for a PEM file";
    return false;
  }
  return true;
}

gnutls_datum_t datumOf(std::string& bytes) {
  return gnutls_datum_t{reinterpret_cast<unsigned char*>(bytes.data()), static_cast<unsigned>(bytes.size())};
}

// The DER form of a public key, for comparing two.
bool exportKey(gnutls_pubkey_t key, std::string& der) {
  gnutls_datum_t out{nullptr, 0};
  if (gnutls_pubkey_export2(key, GNUTLS_X509_FMT_DER, &out) < 0) return false;
  der.assign(reinterpret_cast<const char*>(out.data), out.size);
  gnutls_free(out.data);
  return true;
}

}  // namespace

std::unique_ptr<CertificatePair> CertificatePair::load(const std::string& certificateFile, const std::string& keyFile,
                                                       std::string& error) {
  std::string certificateText;
  std::string keyText;
  if (!readFile(certificateFile, certificateText, error) || !readFile(keyFile, keyText, error)) return nullptr;

  std::unique_ptr<CertificatePair> pair(new CertificatePair);
  std::vector<gnutls_pcert_st> chain(MAX_CHAIN);
  unsigned count = MAX_CHAIN;
  gnutls_datum_t certificateData = datumOf(certificateText);
  int result = gnutls_pcert_list_import_x509_raw(chain.data(), &count, &certificateData, GNUTLS_X509_FMT_PEM, 0);
  if (result < 0 || count == 0) {
    error = certificateFile + " holds no usable PEM certificate" +
            (result < 0 ? std::string(" (") + gnutls_strerror(result) + ")" : std::string());
    return nullptr;
  }
  chain.resize(count);
  pair->certificates = std::move(chain);

  if (gnutls_privkey_init(&pair->privateKey) < 0) {
    error = "cannot make room for a private key";
    return nullptr;
  }
  gnutls_datum_t keyData = datumOf(keyText);
  result = gnutls_privkey_import_x509_raw(pair->privateKey, &keyData, GNUTLS_X509_FMT_PEM, nullptr, 0);
  // The file holds secret material: wipe our copy whatever happened.
  std::fill(keyText.begin(), keyText.end(), '\0');
  if (result < 0) {
    error = keyFile + " holds no usable unencrypted PEM private key (" + gnutls_strerror(result) + ")";
    return nullptr;
  }

  // The key must be the one the server certificate names, or every handshake would fail.
  gnutls_pubkey_t fromKey = nullptr;
  std::string keyDer;
  std::string certificateDer;
  bool derived = gnutls_pubkey_init(&fromKey) >= 0 && gnutls_pubkey_import_privkey(fromKey, pair->privateKey, 0, 0) >= 0 &&
                 exportKey(fromKey, keyDer);
  if (fromKey != nullptr) gnutls_pubkey_deinit(fromKey);
  if (!derived || !exportKey(pair->certificates[0].pubkey, certificateDer)) {
    error = "cannot compare the key in " + keyFile + " with the certificate in " + certificateFile;
    return nullptr;
  }
  if (keyDer != certificateDer) {
    error = "the key in " + keyFile + " does not belong to the certificate in " + certificateFile;
    return nullptr;
  }
  return pair;
}

CertificatePair::~CertificatePair() {
  for (gnutls_pcert_st& certificate : certificates) gnutls_pcert_deinit(&certificate);
  if (privateKey != nullptr) gnutls_privkey_deinit(privateKey);
}
