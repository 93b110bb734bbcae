// ScriptedScoresServer: a small high-score server on loopback for the high-score screen tests.
// It answers the top-ten request and the score submission with the replies a test sets, and can
// hold its answers back until the test releases them, so that the screen can be looked at while
// a request is running. Created and destroyed by one test; it serves on its own threads.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class ScriptedScoresServer {
 public:
  ScriptedScoresServer();
  // Releases held requests and stops serving.
  ~ScriptedScoresServer();
  ScriptedScoresServer(const ScriptedScoresServer&) = delete;
  ScriptedScoresServer& operator=(const ScriptedScoresServer&) = delete;

  // The base address to put in PELLIX_SCORES_URL.
  std::string base() const { return "http://127.0.0.1:" + std::to_string(port); }

  // The body of the answers; both are sent with status 200.
  void setTopScores(const std::string& body);
  void setSubmitReply(const std::string& body);
  // Requests arriving from now on wait until release().
  void hold();
  void release();
  // How many requests of each kind arrived (held ones included).
  int topScoreRequests();
  int submissions();

 private:
  void answer(bool submission, httplib::Response& response);

  httplib::Server http;
  std::thread serving;
  int port = 0;
  std::mutex lock;
  std::condition_variable released;
  bool holding = false;
  bool stopping = false;
  std::string topScores = "name,score\n";
  std::string submitReply = "OK,1\n";
  int topScoreCount = 0;
  int submitCount = 0;
};
