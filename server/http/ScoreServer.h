// The HTTP side of the high-score server, on libmicrohttpd's event-driven engine: a few epoll
// threads hold any number of idle or slow connections without a thread each. It routes the two
// requests of the game to the request handler and answers everything else with a status and a
// one-line reason: 404 for unknown paths, 405 with `Allow` for a wrong method, 413 for a body
// announced (Content-Length) or sent beyond MAX_BODY_BYTES, before it is read. Each connection
// has a fixed memory budget (a flood of header lines is refused once it is used up), and the
// ConnectionGuard caps connections per address and in all and cuts requests past their
// deadline. Behind trusted proxies the client's address comes from X-Forwarded-For
// (ClientAddress). Given a CertificateReloader it speaks HTTPS (GnuTLS), each new handshake
// using the reloader's current pair; otherwise plain HTTP, for a TLS-terminating proxy in
// front. Owned by main (or a test); the handler, the log and the reloader outlive it.
// bind() and run() on one thread; stop() from any thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CertificateReloader.h"
#include "ClientAddress.h"
#include "ConnectionGuard.h"
#include "ScoreRequestHandler.h"
#include "ServerLog.h"

struct MHD_Daemon;

class ScoreServer {
 public:
  // Bodies above this are refused with 413; a submission is a few hundred bytes.
  static constexpr size_t MAX_BODY_BYTES = 8192;
  // Memory of one connection for its request line, headers and reply; a request of the game
  // needs well under 2 KiB.
  static constexpr size_t CONNECTION_MEMORY_BYTES = 32 * 1024;
  // Epoll threads; a storage call blocks the thread that makes it.
  static constexpr unsigned THREADS = 4;

  ScoreServer(ScoreRequestHandler& handler, ServerLog& log, const ConnectionGuard::Limits& limits,
              const std::vector<std::string>& trustedProxies = {});
  ~ScoreServer();
  ScoreServer(const ScoreServer&) = delete;
  ScoreServer& operator=(const ScoreServer&) = delete;

  // Whether the engine was built with TLS and can take a new certificate without a restart.
  static bool tlsSupported();
  // Serve HTTPS with `reloader`'s pair (loaded, and outliving this object); before bind().
  void serveTls(CertificateReloader& reloader) { tls = &reloader; }

  // Starts accepting on `address`:`port` (IPv4 or IPv6; port 0: any free port). Returns the
  // bound port, or -1 (also when TLS was asked for and cannot be served).
  int bind(const std::string& address, int port);
  // Enforces the request deadlines until stop(), then stops the engine. Returns false when
  // bind() had not succeeded.
  bool run();
  // Ends run() soon; safe from another thread and before run() has started.
  void stop();

  // The engine's callbacks (C functions with this object as their context) forward here.
  struct Callbacks;

 private:
  ScoreRequestHandler& handler;
  const ConnectionGuard::Limits limits;
  ConnectionGuard guard;
  const ClientAddress clientAddress;
  CertificateReloader* tls = nullptr;
  MHD_Daemon* daemon = nullptr;
  std::mutex stopLock;
  std::condition_variable stopSignal;
  bool stopRequested = false;
};
