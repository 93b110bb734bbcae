// FakeScoresServer: a small high-score server on loopback for the game-side tests (the online
// client's tests and the high-score screen's tests). At base() it answers the top-ten request and
// the score submission with the replies a test sets, and can hold its answers back until the
// test releases them, so that a screen can be looked at while a request is running. At
// base(behaviour) it misbehaves as named (empty, huge, binary, cut off, slow, silent, error
// pages, ...; see behave()). It records the last request. Created and destroyed by one test; it
// serves on its own threads.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

class FakeScoresServer {
 public:
  FakeScoresServer();
  // Releases held and waiting requests and stops serving.
  ~FakeScoresServer();
  FakeScoresServer(const FakeScoresServer&) = delete;
  FakeScoresServer& operator=(const FakeScoresServer&) = delete;

  // The base address to put in PELLIX_SCORES_URL: with the scripted replies, or misbehaving as
  // `behaviour` names (an unknown name answers a one-entry top ten to both requests).
  std::string base() const { return "http://127.0.0.1:" + std::to_string(port); }
  std::string base(const std::string& behaviour) const { return base() + "/" + behaviour; }

  // The scripted answers' bodies; both are sent with status 200.
  void setTopScores(const std::string& body);
  void setSubmitReply(const std::string& body);
  // Scripted requests arriving from now on wait until release().
  void hold();
  void release();
  // How many scripted requests of each kind arrived (held ones included).
  int topScoreRequests();
  int submissions();

  // What the game sent last.
  struct Request {
    std::string target, body, contentType, contentLength;
  };
  Request lastRequest();

 private:
  void scripted(bool submission, httplib::Response& response);
  void behave(const std::string& behaviour, bool submission, httplib::Response& response);
  // Waits up to `limit` or until the server shuts down; true when shutting down.
  bool pause(std::chrono::milliseconds limit);

  httplib::Server http;
  std::thread serving;
  int port = -1;
  std::mutex lock;
  std::condition_variable wake;
  bool holding = false;
  bool stopping = false;
  std::string topScores = "name,score\n";
  std::string submitReply = "OK,1\n";
  int topScoreCount = 0;
  int submitCount = 0;
  Request last;
};
