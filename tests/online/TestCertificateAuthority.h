// A certificate authority made for one test with openssl, in the test's temporary folder: its
// own key and self-signed certificate, and server certificates it signs for a given subject
// alternative name (such as IP:127.0.0.1). Nothing is trusted outside the files it writes.
// Owned by the test; the folder outlives it.
#pragma once

#include <string>

class TestCertificateAuthority {
 public:
  struct Issued {
    std::string certificateFile;
    std::string keyFile;
  };

  // Makes the authority's key and certificate as `folder`/`name`-ca.key and -ca.pem.
  TestCertificateAuthority(const std::string& folder, const std::string& name);

  bool ready() const { return failureText.empty(); }
  // What went wrong (openssl's output), empty when ready.
  const std::string& failure() const { return failureText; }
  // The authority's certificate, for a client's CA file.
  const std::string& certificateFile() const { return caCertificate; }

  // Signs a new server certificate with a new key for `subjectAltName`, as
  // `folder`/`fileName`.pem and .key. False (and failure() set) when openssl fails.
  bool issue(const std::string& subjectAltName, const std::string& fileName, Issued& issued);

  // Whether the openssl command can be run.
  static bool toolPresent();

 private:
  // Runs a shell command line; false with its output kept in failureText when it fails.
  bool run(const std::string& commandLine);

  std::string folder;
  std::string name;
  std::string caCertificate;
  std::string caKey;
  std::string failureText;
  int serial = 1;
};
