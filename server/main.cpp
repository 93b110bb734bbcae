// pellix-scores-server: parses the command line, opens the score database (SQLite or
// PostgreSQL), loads the TLS certificate when asked to, binds, serves until SIGINT or SIGTERM
// (SIGHUP reloads the certificate), then closes the database cleanly.
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "CertificateReloader.h"
#include "ConnectionGuard.h"
#include "ScoreRequestHandler.h"
#include "ScoreServer.h"
#include "ScoreDatabase.h"
#include "ServerLog.h"
#include "ServerOptions.h"

int main(int argc, char** argv) {
  ServerOptions options;
  std::string error;
  if (!options.parse(argc, argv, error)) {
    std::fprintf(stderr, "pellix-scores-server: %s (see --help)\n", error.c_str());
    return 2;
  }
  if (options.showHelp) {
    std::fputs(ServerOptions::usage().c_str(), stdout);
    return 0;
  }

  // The stop signals are taken by one thread with sigwait: block them before any thread starts,
  // so that every thread inherits the mask. A closed client socket must not kill the server.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  // The certificate first: a pair that cannot be used ends the start before anything is opened.
  CertificateReloader certificates(options.tlsCertificate, options.tlsKey);
  if (options.servesTls() && !ScoreServer::tlsSupported()) {
    std::fprintf(stderr, "pellix-scores-server: cannot serve TLS: libmicrohttpd was built without it\n");
    return 1;
  }
  if (options.servesTls() && !certificates.reload(error)) {
    std::fprintf(stderr, "pellix-scores-server: cannot serve TLS: %s\n", ServerLog::folded(error).c_str());
    return 1;
  }

  ScoreDatabase database;
  if (!database.open(options.databasePath, options.submitLimit, error)) {
    std::fprintf(stderr, "pellix-scores-server: cannot use the database %s: %s\n", options.databasePath.c_str(),
                 ServerLog::folded(error).c_str());
    return 1;
  }
  ServerLog log(options.quiet);
  ScoreRequestHandler handler(database.store(), database.limiter(), log);
  ConnectionGuard::Limits limits;
  limits.deadline = std::chrono::seconds(options.requestDeadline);
  limits.maxTotal = options.maxConnections;
  // Every connection is a descriptor: allow as many as the connection cap needs, when the
  // system lets us.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
    const rlim_t wanted = static_cast<rlim_t>(limits.maxTotal) + 256;
    if (files.rlim_cur < wanted) {
      files.rlim_cur = files.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, files.rlim_max);
      setrlimit(RLIMIT_NOFILE, &files);
    }
    getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur != RLIM_INFINITY && files.rlim_cur < static_cast<rlim_t>(limits.maxTotal) + 256) {
      limits.maxTotal = std::max(16, static_cast<int>(files.rlim_cur) - 256);
    }
  }
  ScoreServer server(handler, log, limits, options.trustedProxies);
  if (options.servesTls()) server.serveTls(certificates);
  int port = server.bind(options.bindAddress, options.port);
  if (port < 0) {
    std::fprintf(stderr, "pellix-scores-server: cannot listen on %s port %d\n", options.bindAddress.c_str(),
                 options.port);
    return 1;
  }

  std::thread signalWaiter([&] {
    int signalNumber = 0;
    while (sigwait(&stopSignals, &signalNumber) == 0 && signalNumber == SIGHUP) {
      if (!options.servesTls()) {
        log.line("SIGHUP: nothing to reload, serving plain HTTP");
        continue;
      }
      std::string reloadError;
      if (certificates.reload(reloadError)) {
        log.line("reloaded the TLS certificate from " + options.tlsCertificate);
      } else {
        log.line("kept the TLS certificate in use: " + reloadError);
      }
    }
    server.stop();
  });

  // An IPv6 address goes in brackets in a URL.
  const bool six = options.bindAddress.find(':') != std::string::npos;
  std::printf("listening on %s://%s%s%s:%d\n", options.servesTls() ? "https" : "http", six ? "[" : "",
              options.bindAddress.c_str(), six ? "]" : "", port);
  std::fflush(stdout);
  bool served = server.run();
  // When serving ended by itself, wake the waiter with a signal of our own.
  kill(getpid(), SIGTERM);
  signalWaiter.join();
  if (!served) {
    std::fprintf(stderr, "pellix-scores-server: serving stopped with an error\n");
    return 1;
  }
  return 0;
}
