// The HTTP side of the high-score server (cpp-httplib): routes the two requests of the game to
// the request handler, bounds request sizes and read times, and answers everything else with a
// 4xx status and a one-line reason. Owned by main (or a test); the handler outlives it.
// bind() and run() on one thread; stop() from any thread.
#pragma once

#include <memory>
#include <string>

#include "ScoreRequestHandler.h"

namespace httplib {
class Server;
}

class ScoreServer {
 public:
  // Bodies above this are refused with 413; a submission is a few hundred bytes.
  static const size_t MAX_BODY_BYTES = 8192;

  explicit ScoreServer(ScoreRequestHandler& handler);
  ~ScoreServer();
  ScoreServer(const ScoreServer&) = delete;
  ScoreServer& operator=(const ScoreServer&) = delete;

  // Binds to `address`:`port` (port 0: any free port). Returns the bound port, or -1.
  int bind(const std::string& address, int port);
  // Serves until stop(). Returns false when serving could not start.
  bool run();
  // Ends run() soon; safe from another thread. Has no effect before run() has started serving.
  void stop();
  // Whether run() is serving.
  bool isServing() const;

 private:
  ScoreRequestHandler& handler;
  std::unique_ptr<httplib::Server> http;
};
