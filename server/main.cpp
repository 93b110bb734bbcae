// pellix-scores-server: parses the command line, opens the score database, binds, serves until
// SIGINT, SIGTERM or SIGHUP, then closes the database cleanly.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "RateLimiter.h"
#include "ScoreRequestHandler.h"
#include "ScoreServer.h"
#include "ScoreStore.h"
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

  ScoreStore store;
  if (!store.open(options.databasePath, error)) {
    std::fprintf(stderr, "pellix-scores-server: cannot use the database %s: %s\n", options.databasePath.c_str(),
                 error.c_str());
    return 1;
  }
  RateLimiter limiter(options.submitLimit);
  ScoreRequestHandler handler(store, limiter);
  ScoreServer server(handler);
  int port = server.bind(options.bindAddress, options.port);
  if (port < 0) {
    std::fprintf(stderr, "pellix-scores-server: cannot listen on %s port %d\n", options.bindAddress.c_str(),
                 options.port);
    return 1;
  }

  std::atomic<bool> finished{false};
  std::thread signalWaiter([&] {
    int signalNumber = 0;
    sigwait(&stopSignals, &signalNumber);
    // stop() has no effect until run() serves; keep asking until it has ended.
    while (!finished) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });

  std::printf("listening on http://%s:%d\n", options.bindAddress.c_str(), port);
  std::fflush(stdout);
  bool served = server.run();
  finished = true;
  // When serving ended by itself, wake the waiter with a signal of our own.
  kill(getpid(), SIGTERM);
  signalWaiter.join();
  if (!served) {
    std::fprintf(stderr, "pellix-scores-server: serving stopped with an error\n");
    return 1;
  }
  return 0;
}
