// The command line of pellix-scores-server: --db PATH|URI, --bind ADDRESS, --port N,
// --submit-limit N, --trusted-proxy ADDRESS (repeatable), --request-deadline S,
// --max-connections N, --tls-cert FILE with --tls-key FILE, --quiet and --help. Parsed once by
// main.
#pragma once

#include <string>
#include <vector>

class ServerOptions {
 public:
  // The port the game's built-in server address uses.
  static constexpr int DEFAULT_PORT = 8642;

  // An SQLite file path, or a PostgreSQL connection URI.
  std::string databasePath = "pellix-scores.db";
  // Loopback unless told otherwise: the server is reachable from other machines only on request.
  std::string bindAddress = "127.0.0.1";
  int port = DEFAULT_PORT;
  // Submissions admitted per address and minute; 0 = no limit.
  int submitLimit = 60;
  // Reverse proxies whose X-Forwarded-For names the client (addresses, normalised).
  std::vector<std::string> trustedProxies;
  // Seconds within which a request must arrive whole and be answered.
  int requestDeadline = 10;
  // Connections held open at once from everyone together.
  int maxConnections = 4000;
  // PEM files of the certificate chain and its key: both given, the server speaks HTTPS itself;
  // neither, plain HTTP (behind a TLS-terminating proxy).
  std::string tlsCertificate;
  std::string tlsKey;
  // No log lines on standard error (tests that provoke many refusals).
  bool quiet = false;
  bool showHelp = false;

  // Reads argv[1..]. False with a one-line `error` for an unknown option, a missing value or a
  // number out of range, and when only one of --tls-cert and --tls-key is given.
  bool parse(int argc, const char* const* argv, std::string& error);

  bool servesTls() const { return !tlsCertificate.empty(); }

  // The --help text.
  static std::string usage();
};
