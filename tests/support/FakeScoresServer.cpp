// A loopback high-score server with scripted replies and named misbehaviours.
#include "FakeScoresServer.h"

FakeScoresServer::FakeScoresServer() {
  auto route = [this](const httplib::Request& request, httplib::Response& response) {
    {
      std::lock_guard<std::mutex> guard(lock);
      last = Request{request.target, request.body, request.get_header_value("Content-Type"),
                     request.get_header_value("Content-Length")};
    }
    const bool submission = request.matches[2] == "submit_score";
    if (request.matches[1].length() == 0) {
      scripted(submission, response);
    } else {
      behave(request.matches[1], submission, response);
    }
  };
  // /pellix/... answers as scripted; /<behaviour>/pellix/... misbehaves.
  const char* pattern = R"(/(?:(\w+)/)?pellix/(top_scores|submit_score)/)";
  http.Get(pattern, route);
  http.Post(pattern, route);
  port = http.bind_to_any_port("127.0.0.1");
  serving = std::thread([this] { http.listen_after_bind(); });
}

FakeScoresServer::~FakeScoresServer() {
  {
    std::lock_guard<std::mutex> guard(lock);
    stopping = true;
  }
  wake.notify_all();
  // stop() has no effect until the server is listening.
  while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  http.stop();
  serving.join();
}

void FakeScoresServer::setTopScores(const std::string& body) {
  std::lock_guard<std::mutex> guard(lock);
  topScores = body;
}

void FakeScoresServer::setSubmitReply(const std::string& body) {
  std::lock_guard<std::mutex> guard(lock);
  submitReply = body;
}

void FakeScoresServer::hold() {
  std::lock_guard<std::mutex> guard(lock);
  holding = true;
}

void FakeScoresServer::release() {
  {
    std::lock_guard<std::mutex> guard(lock);
    holding = false;
  }
  wake.notify_all();
}

int FakeScoresServer::topScoreRequests() {
  std::lock_guard<std::mutex> guard(lock);
  return topScoreCount;
}

int FakeScoresServer::submissions() {
  std::lock_guard<std::mutex> guard(lock);
  return submitCount;
}

FakeScoresServer::Request FakeScoresServer::lastRequest() {
  std::lock_guard<std::mutex> guard(lock);
  return last;
}

void FakeScoresServer::scripted(bool submission, httplib::Response& response) {
  std::unique_lock<std::mutex> guard(lock);
  ++(submission ? submitCount : topScoreCount);
  wake.wait(guard, [this] { return !holding || stopping; });
  response.set_content(submission ? submitReply : topScores, "text/plain");
}

bool FakeScoresServer::pause(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> guard(lock);
  return wake.wait_for(guard, limit, [this] { return stopping; });
}

void FakeScoresServer::behave(const std::string& asked, bool submission, httplib::Response& response) {
  const char* text = "text/plain";
  // One address for a slow top ten and a silent submission, so that both can run at once.
  const std::string behaviour = asked == "slowsilent" ? (submission ? "silent" : "slow") : asked;
  if (behaviour == "empty") {
    response.set_content("", text);
  } else if (behaviour == "headeronly") {
    response.set_content("name,score\n", text);
  } else if (behaviour == "crlf") {
    response.set_content(submission ? "thanks , 57 \r\n" : "name,score\r\nAnn , 1200\r\nBob,word\r\nx,y,z\r\n\r\n",
                         text);
  } else if (behaviour == "bare") {
    response.set_content("57\n", text);
  } else if (behaviour == "negative") {
    response.set_content("OK,-3\nAnn,-3\n", text);
  } else if (behaviour == "huge") {
    std::string body = "name,score\n";
    while (body.size() < (1u << 20)) body += "Ann,1\n";
    response.set_content(body, text);
  } else if (behaviour == "hugechunked") {
    // No length announced: the client only finds out by reading.
    response.set_chunked_content_provider(text, [this](size_t offset, httplib::DataSink& sink) {
      if (offset >= (1u << 20) || pause(std::chrono::milliseconds(0))) {
        sink.done();
        return true;
      }
      std::string chunk = offset == 0 ? "OK,1\nAnn,1\n" : "";
      while (chunk.size() < 4096) chunk += "Ann,1\n";
      return sink.write(chunk.data(), chunk.size());
    });
  } else if (behaviour == "binary") {
    std::string body;
    for (int i = 0; i < 4096; ++i) body += static_cast<char>(i * 7 % 256);
    body.replace(0, 14, "name,score\nA,1");
    response.set_content(body, "application/octet-stream");
  } else if (behaviour == "nul") {
    response.set_content(std::string(submission ? "OK,5\0\n" : "name,score\nA\0nn,5\n", submission ? 6 : 17), text);
  } else if (behaviour == "latin1") {
    response.set_content(submission ? "OK,5\n\xE9\n" : "name,score\nZo\xEB,5\n", text);
  } else if (behaviour == "cutoff") {
    // 1000 bytes announced, a few sent, then the connection is closed.
    response.set_content_provider(1000, text, [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset > 0) return false;
      const char* part = "OK,3\nAnn,5\n";
      sink.write(part, 11);
      return true;
    });
  } else if (behaviour == "slow") {
    // One byte every 200 ms, for ever.
    response.set_chunked_content_provider(text, [this](size_t, httplib::DataSink& sink) {
      if (pause(std::chrono::milliseconds(200))) {
        sink.done();
        return true;
      }
      return sink.write("x", 1);
    });
  } else if (behaviour == "silent") {
    // No reply at all until the fake server shuts down.
    pause(std::chrono::seconds(60));
    response.set_content("", text);
  } else if (behaviour == "refuse") {
    response.status = 429;
    response.set_content("too many submissions from this address\n", text);
  } else if (behaviour == "errorpage") {
    response.status = submission ? 500 : 404;
    response.set_content("header\nAnn,5\nOK,7\n", text);
  } else if (behaviour == "redirect") {
    response.set_redirect(submission ? "/crlf/pellix/submit_score/" : "/crlf/pellix/top_scores/", 307);
  } else {
    response.set_content("name,score\nAnn,1200\n", text);
  }
}
