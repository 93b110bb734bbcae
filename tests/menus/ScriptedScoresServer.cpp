// A loopback high-score server with scripted replies.
#include "ScriptedScoresServer.h"

#include <chrono>

ScriptedScoresServer::ScriptedScoresServer() {
  http.Get("/pellix/top_scores/", [this](const httplib::Request&, httplib::Response& response) { answer(false, response); });
  http.Post("/pellix/submit_score/",
            [this](const httplib::Request&, httplib::Response& response) { answer(true, response); });
  port = http.bind_to_any_port("127.0.0.1");
  serving = std::thread([this] { http.listen_after_bind(); });
}

ScriptedScoresServer::~ScriptedScoresServer() {
  {
    std::lock_guard<std::mutex> guard(lock);
    stopping = true;
  }
  released.notify_all();
  // stop() has no effect until the server is listening.
  while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  http.stop();
  serving.join();
}

void ScriptedScoresServer::setTopScores(const std::string& body) {
  std::lock_guard<std::mutex> guard(lock);
  topScores = body;
}

void ScriptedScoresServer::setSubmitReply(const std::string& body) {
  std::lock_guard<std::mutex> guard(lock);
  submitReply = body;
}

void ScriptedScoresServer::hold() {
  std::lock_guard<std::mutex> guard(lock);
  holding = true;
}

void ScriptedScoresServer::release() {
  {
    std::lock_guard<std::mutex> guard(lock);
    holding = false;
  }
  released.notify_all();
}

int ScriptedScoresServer::topScoreRequests() {
  std::lock_guard<std::mutex> guard(lock);
  return topScoreCount;
}

int ScriptedScoresServer::submissions() {
  std::lock_guard<std::mutex> guard(lock);
  return submitCount;
}

void ScriptedScoresServer::answer(bool submission, httplib::Response& response) {
  std::unique_lock<std::mutex> guard(lock);
  ++(submission ? submitCount : topScoreCount);
  released.wait(guard, [this] { return !holding || stopping; });
  response.set_content(submission ? submitReply : topScores, "text/plain");
}
