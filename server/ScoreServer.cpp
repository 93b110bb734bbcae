// Routes of the high-score server.
#include "ScoreServer.h"

#include <httplib.h>

namespace {

const char* TEXT = "text/plain; charset=utf-8";

void answer(httplib::Response& response, const ServerReply& reply) {
  response.status = reply.status;
  response.set_content(reply.body, TEXT);
}

// The query of a request target, still escaped: everything after the first '?'.
std::string queryOf(const std::string& target) {
  size_t mark = target.find('?');
  return mark == std::string::npos ? std::string() : target.substr(mark + 1);
}

}  // namespace

ScoreServer::ScoreServer(ScoreRequestHandler& requestHandler)
    : handler(requestHandler), http(std::make_unique<httplib::Server>()) {
  http->new_task_queue = [] { return new httplib::ThreadPool(16); };
  http->set_payload_max_length(MAX_BODY_BYTES);
  // A client that sends nothing holds a worker only this long.
  http->set_read_timeout(5, 0);
  http->set_write_timeout(5, 0);

  http->Get("/pellix/top_scores/", [this](const httplib::Request& request, httplib::Response& response) {
    answer(response, handler.topScores(queryOf(request.target)));
  });
  http->Post("/pellix/submit_score/", [this](const httplib::Request& request, httplib::Response& response) {
    answer(response, handler.submit(request.remote_addr, request.body, RateLimiter::Clock::now()));
  });

  // Unknown paths, wrong methods, oversized bodies, bad request lines: one line saying so. A
  // reply that already has its reason keeps it.
  http->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return;
    const char* reason = "bad request";
    switch (response.status) {
      case 404: reason = "not found"; break;
      case 405: reason = "method not allowed"; break;
      case 413: reason = "request too large"; break;
      case 414: reason = "request target too long"; break;
      default: if (response.status >= 500) reason = "server error"; break;
    }
    response.set_content(std::string(reason) + "\n", TEXT);
  });
  http->set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
    response.status = 500;
    response.set_content("server error\n", TEXT);
  });
}

ScoreServer::~ScoreServer() { stop(); }

int ScoreServer::bind(const std::string& address, int port) {
  if (port == 0) return http->bind_to_any_port(address);
  return http->bind_to_port(address, port) ? port : -1;
}

bool ScoreServer::run() { return http->listen_after_bind(); }

void ScoreServer::stop() {
  // Does nothing unless run() is serving: a caller that may come too early calls again.
  http->stop();
}

bool ScoreServer::isServing() const { return http->is_running(); }
