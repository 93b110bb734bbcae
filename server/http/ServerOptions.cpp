// Command-line parsing of the high-score server.
#include "ServerOptions.h"

#include <cerrno>
#include <cstdlib>

#include "ClientAddress.h"

namespace {

bool readNumber(const std::string& text, long low, long high, int& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

bool ServerOptions::parse(int argc, const char* const* argv, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      showHelp = true;
      continue;
    }
    if (option == "--quiet") {
      quiet = true;
      continue;
    }
    // Both "--port 80" and "--port=80".
    std::string value;
    bool hasValue = false;
    size_t equals = option.find('=');
    if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
      hasValue = true;
    }
    if (option != "--db" && option != "--bind" && option != "--port" && option != "--submit-limit" &&
        option != "--request-deadline" && option != "--trusted-proxy" && option != "--max-connections" &&
        option != "--tls-cert" && option != "--tls-key") {
      error = "unknown option " + option;
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= argc) {
        error = option + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (option == "--db") {
      if (value.empty()) {
        error = "--db needs a path or a postgresql:// URI";
        return false;
      }
      databasePath = value;
    } else if (option == "--bind") {
      if (value.empty()) {
        error = "--bind needs an address";
        return false;
      }
      bindAddress = value;
    } else if (option == "--port") {
      if (!readNumber(value, 0, 65535, port)) {
        error = "--port must be 0 to 65535";
        return false;
      }
    } else if (option == "--tls-cert" || option == "--tls-key") {
      if (value.empty()) {
        error = option + " needs a file";
        return false;
      }
      (option == "--tls-cert" ? tlsCertificate : tlsKey) = value;
    } else if (option == "--trusted-proxy") {
      const std::string address = ClientAddress::normalise(value);
      if (address.empty()) {
        error = "--trusted-proxy needs an IPv4 or IPv6 address, not " + value;
        return false;
      }
      trustedProxies.push_back(address);
    } else if (option == "--request-deadline") {
      if (!readNumber(value, 1, 3600, requestDeadline)) {
        error = "--request-deadline must be 1 to 3600 seconds";
        return false;
      }
    } else if (option == "--max-connections") {
      if (!readNumber(value, 1, 1000000, maxConnections)) {
        error = "--max-connections must be 1 to 1000000";
        return false;
      }
    } else if (!readNumber(value, 0, 1000000000L, submitLimit)) {
      error = "--submit-limit must be 0 or more";
      return false;
    }
  }
  if (tlsCertificate.empty() != tlsKey.empty()) {
    error = tlsCertificate.empty() ? "--tls-key needs --tls-cert too" : "--tls-cert needs --tls-key too";
    return false;
  }
  return true;
}

std::string ServerOptions::usage() {
  return "Usage: pellix-scores-server [--db PATH|URI] [--bind ADDRESS] [--port N] [--submit-limit N]\n"
         "                            [--trusted-proxy ADDRESS]... [--request-deadline S]\n"
         "                            [--max-connections N] [--tls-cert FILE --tls-key FILE]\n"
         "                            [--quiet]\n"
         "\n"
         "The Pellix high-score server. It keeps the global top scores of the game's twelve\n"
         "tables (game_mode 0 to 11) in one SQLite file, or in a PostgreSQL database that several\n"
         "instances share, and answers the game over HTTP, or over HTTPS with --tls-cert:\n"
         "\n"
         "  GET  /pellix/top_scores/?game_id=0&game_mode=M&max_res=N\n"
         "       200: a header line \"name,score\", then up to N (1 to 100) lines name,score,\n"
         "       best first.\n"
         "  POST /pellix/submit_score/   (form: game_id, game_mode, device_id, user_name,\n"
         "       score, hash, and optionally submission_id)\n"
         "       200: \"OK,<rank>\", the score's position in its mode (1 = best). A score equal\n"
         "       to scores already stored ranks below all of them. submission_id, 32 lowercase\n"
         "       hexadecimal digits chosen at random by the client, makes a retry safe: a\n"
         "       submission whose id is already stored is not stored again and gets the rank its\n"
         "       first reply gave; an id already used by another score gets 409.\n"
         "\n"
         "Malformed requests get a 4xx status and a one-line reason, and nothing is stored:\n"
         "missing or extra fields, a bad checksum, a mode outside 0 to 11, a score outside\n"
         "0 to 999999, a name that is empty, longer than 255 bytes, not UTF-8, or holds a comma,\n"
         "a line break or another control character. Submissions beyond the limit per address\n"
         "and minute get 429. A wrong method gets 405 with an Allow header, an unknown path 404,\n"
         "a body announced or sent beyond 8 KiB 413 (before the body is read).\n"
         "\n"
         "Connections: at most 16 open from one address and 4000 in all; a request must arrive\n"
         "whole and be answered within the request deadline, or its connection is closed. Each\n"
         "storage failure, refused connection and closed slow connection leaves one line on\n"
         "standard error.\n"
         "\n"
         "Options:\n"
         "  --db PATH|URI       the score database: an SQLite file, created when missing\n"
         "                      (default: pellix-scores.db in the current folder), or a\n"
         "                      PostgreSQL URI postgresql://USER@HOST:PORT/DBNAME whose tables are\n"
         "                      created when missing; on PostgreSQL the submission limit is kept\n"
         "                      in the database and holds across every instance sharing it\n"
         "  --bind ADDRESS      the address to listen on (default: 127.0.0.1, this machine only;\n"
         "                      0.0.0.0 for every interface)\n"
         "  --port N            the TCP port (default: 8642, the game's built-in address;\n"
         "                      0: any free port)\n"
         "  --submit-limit N    submissions admitted per client address and minute\n"
         "                      (default: 60; 0: no limit, for load tests)\n"
         "  --trusted-proxy ADDRESS\n"
         "                      a reverse proxy in front of this server (repeatable): requests\n"
         "                      from it count against the client named in X-Forwarded-For, and\n"
         "                      it may hold any number of connections; from anyone else the\n"
         "                      header is ignored\n"
         "  --request-deadline S  seconds a client has to send one whole request\n"
         "                      (default: 10)\n"
         "  --max-connections N connections held open at once from everyone together\n"
         "                      (default: 4000; one address may hold 16 of them)\n"
         "  --tls-cert FILE     serve HTTPS with this PEM certificate (the server's first, then\n"
         "                      any intermediates); needs --tls-key. Without both the server\n"
         "                      speaks plain HTTP, for a reverse proxy that holds the TLS\n"
         "                      connection\n"
         "  --tls-key FILE      the certificate's unencrypted PEM private key\n"
         "  --quiet             no log lines on standard error\n"
         "  --help              this text\n"
         "\n"
         "Once listening it prints \"listening on http://ADDRESS:PORT\" (https:// with TLS) on\n"
         "standard output. SIGINT and SIGTERM stop it cleanly. SIGHUP reads the certificate and\n"
         "key files again: new connections get the new pair, and a pair that cannot be used is\n"
         "logged in one line while the old one stays in use (without TLS, SIGHUP changes\n"
         "nothing). A certificate or key that cannot be used at start-up is an error. The game\n"
         "finds the server through its preferences or the environment variable\n"
         "PELLIX_SCORES_URL.\n";
}
