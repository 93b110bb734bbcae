// Making test certificates with the openssl command.
#include "TestCertificateAuthority.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// P-256 keys: quick to make, and every TLS library takes them.
const char* NEW_KEY = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

}  // namespace

TestCertificateAuthority::TestCertificateAuthority(const std::string& folderPath, const std::string& authorityName)
    : folder(folderPath),
      name(authorityName),
      caCertificate(folderPath + "/" + authorityName + "-ca.pem"),
      caKey(folderPath + "/" + authorityName + "-ca.key") {
  run(std::string("openssl req -x509") + NEW_KEY + " -days 2 -subj " + quoted("/CN=Pellix test CA " + name) +
      " -keyout " + quoted(caKey) + " -out " + quoted(caCertificate));
}

bool TestCertificateAuthority::issue(const std::string& subjectAltName, const std::string& fileName, Issued& issued) {
  const std::string base = folder + "/" + fileName;
  issued.certificateFile = base + ".pem";
  issued.keyFile = base + ".key";
  const std::string request = base + ".csr";
  const std::string extensions = base + ".ext";
  {
    std::ofstream out(extensions);
    out << "subjectAltName=" << subjectAltName << "\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature\n"
        << "extendedKeyUsage=serverAuth\n";
  }
  const bool made = run(std::string("openssl req -new") + NEW_KEY + " -subj /CN=pellix-test-server -keyout " +
                        quoted(issued.keyFile) + " -out " + quoted(request)) &&
                    run("openssl x509 -req -in " + quoted(request) + " -CA " + quoted(caCertificate) + " -CAkey " +
                        quoted(caKey) + " -set_serial " + std::to_string(++serial) + " -days 2 -extfile " +
                        quoted(extensions) + " -out " + quoted(issued.certificateFile));
  std::remove(request.c_str());
  std::remove(extensions.c_str());
  return made;
}

bool TestCertificateAuthority::toolPresent() {
  return std::system("openssl version >/dev/null 2>&1") == 0;
}

bool TestCertificateAuthority::run(const std::string& commandLine) {
  if (!failureText.empty()) return false;
  FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    failureText = "cannot run: " + commandLine;
    return false;
  }
  std::string output;
  std::array<char, 1024> buffer;
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), count);
  const int status = pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    failureText = commandLine + ": " + output;
    return false;
  }
  return true;
}
