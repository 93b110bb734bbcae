// Routes and limits of the high-score server on libmicrohttpd.
#include "ScoreServer.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

const char* TOP_SCORES_PATH = "/pellix/top_scores/";
const char* SUBMIT_PATH = "/pellix/submit_score/";

// What one request has gathered between the engine's calls. Created when its request line
// arrives, deleted when the engine reports the request finished.
struct Request {
  // The request target as sent, query still escaped.
  std::string target;
  std::string body;
  // Whether the handler has seen the headers (its first call).
  bool headersDone = false;
  bool answered = false;
};

std::string addressText(const sockaddr* address) {
  char text[INET6_ADDRSTRLEN] = {0};
  if (address == nullptr) return "unknown";
  if (address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  } else if (address->sa_family == AF_INET6) {
    const in6_addr& six = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&six)) {
      // A dual-stack socket shows IPv4 clients as ::ffff:a.b.c.d; count them as a.b.c.d.
      inet_ntop(AF_INET, &six.s6_addr[12], text, sizeof text);
    } else {
      inet_ntop(AF_INET6, &six, text, sizeof text);
    }
  } else {
    return "unknown";
  }
  return text;
}

std::string peerOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return addressText(info != nullptr ? info->client_addr : nullptr);
}

MHD_Result answer(MHD_Connection* connection, int status, const std::string& body, const char* allow = nullptr) {
  MHD_Response* response =
      MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
  if (allow != nullptr) MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, allow);
  MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(status), response);
  MHD_destroy_response(response);
  return queued;
}

MHD_Result answer(MHD_Connection* connection, const ServerReply& reply) {
  return answer(connection, reply.status, reply.body);
}

MHD_Result collectForwardedFor(void* context, MHD_ValueKind, const char* key, const char* value) {
  std::string& all = *static_cast<std::string*>(context);
  if (key != nullptr && value != nullptr && strcasecmp(key, "X-Forwarded-For") == 0) {
    if (!all.empty()) all += ',';
    all += value;
  }
  return MHD_YES;
}

// Every X-Forwarded-For header of the request, in order, joined with ','.
std::string forwardedFor(MHD_Connection* connection) {
  std::string all;
  MHD_get_connection_values(connection, MHD_HEADER_KIND, &collectForwardedFor, &all);
  return all;
}

// The announced body length; -1 when there is no Content-Length (a chunked body).
long long announcedLength(MHD_Connection* connection) {
  const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
  if (value == nullptr) return -1;
  errno = 0;
  char* end = nullptr;
  long long length = std::strtoll(value, &end, 10);
  // The engine has already refused a malformed length; treat anything odd as too large.
  if (errno != 0 || end == value || *end != '\0' || length < 0) return LLONG_MAX;
  return length;
}

}  // namespace

struct ScoreServer::Callbacks {
  static MHD_Result acceptPolicy(void* context, const sockaddr* address, socklen_t) {
    ScoreServer& server = *static_cast<ScoreServer*>(context);
    return server.guard.admit(addressText(address), ConnectionGuard::Clock::now()) ? MHD_YES : MHD_NO;
  }

  static void connectionChanged(void* context, MHD_Connection* connection, void**,
                                MHD_ConnectionNotificationCode change) {
    ScoreServer& server = *static_cast<ScoreServer*>(context);
    if (change == MHD_CONNECTION_NOTIFY_CLOSED) {
      server.guard.closed(connection);
      return;
    }
    const MHD_ConnectionInfo* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    server.guard.opened(connection, peerOf(connection), fd != nullptr ? fd->connect_fd : -1,
                        ConnectionGuard::Clock::now());
  }

  static void* requestStarted(void*, const char* target, MHD_Connection*) {
    Request* request = new Request;
    request->target = target != nullptr ? target : "";
    return request;
  }

  static void requestEnded(void* context, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    ScoreServer& server = *static_cast<ScoreServer*>(context);
    delete static_cast<Request*>(*state);
    *state = nullptr;
    server.guard.requestEnded(connection, ConnectionGuard::Clock::now());
  }

  // Called once the headers are in, then once per piece of body, then once more with no data.
  static MHD_Result handle(void* context, MHD_Connection* connection, const char* url, const char* method,
                           const char*, const char* uploadData, size_t* uploadSize, void** state) {
    ScoreServer& server = *static_cast<ScoreServer*>(context);
    Request* request = static_cast<Request*>(*state);
    if (request == nullptr) return MHD_NO;
    if (request->answered) {
      // The reply is queued; whatever body still comes is dropped.
      *uploadSize = 0;
      return MHD_YES;
    }
    const std::string path = url != nullptr ? url : "";
    const std::string verb = method != nullptr ? method : "";

    if (path == TOP_SCORES_PATH) {
      request->answered = true;
      if (verb != MHD_HTTP_METHOD_GET && verb != MHD_HTTP_METHOD_HEAD) {
        return answer(connection, 405, "method not allowed\n", "GET, HEAD");
      }
      const size_t mark = request->target.find('?');
      return answer(connection, server.handler.topScores(
                                    mark == std::string::npos ? std::string() : request->target.substr(mark + 1)));
    }
    if (path != SUBMIT_PATH) {
      request->answered = true;
      return answer(connection, 404, "not found\n");
    }
    if (verb != MHD_HTTP_METHOD_POST) {
      request->answered = true;
      return answer(connection, 405, "method not allowed\n", "POST");
    }
    if (!request->headersDone) {
      // First call, headers only: refuse an oversized body on its announcement, before a byte
      // of it is read.
      request->headersDone = true;
      if (announcedLength(connection) > static_cast<long long>(MAX_BODY_BYTES)) {
        request->answered = true;
        return answer(connection, 413, "request too large\n");
      }
      return MHD_YES;
    }
    if (*uploadSize > 0) {
      if (request->body.size() + *uploadSize > MAX_BODY_BYTES) {
        // A chunked body that outgrows the limit: the engine cannot answer in the middle of a
        // body, so the connection is closed.
        return MHD_NO;
      }
      request->body.append(uploadData, *uploadSize);
      *uploadSize = 0;
      return MHD_YES;
    }
    request->answered = true;
    const std::string client = server.clientAddress.resolve(peerOf(connection), forwardedFor(connection));
    return answer(connection, server.handler.submit(client, request->body, SubmissionLimiter::Clock::now()));
  }
};

ScoreServer::ScoreServer(ScoreRequestHandler& requestHandler, ServerLog& serverLog,
                         const ConnectionGuard::Limits& connectionLimits, const std::vector<std::string>& proxies)
    : handler(requestHandler),
      limits(connectionLimits),
      guard(connectionLimits, proxies, serverLog),
      clientAddress(proxies) {}

ScoreServer::~ScoreServer() {
  stop();
  if (daemon != nullptr) MHD_stop_daemon(daemon);
  if (tls != nullptr) tls->stopServing();
}

bool ScoreServer::tlsSupported() {
  return MHD_is_feature_supported(MHD_FEATURE_TLS) == MHD_YES &&
         MHD_is_feature_supported(MHD_FEATURE_HTTPS_CERT_CALLBACK) == MHD_YES;
}

int ScoreServer::bind(const std::string& address, int port) {
  if (daemon != nullptr || port < 0 || port > 65535) return -1;
  sockaddr_in four{};
  sockaddr_in6 six{};
  const sockaddr* socketAddress = nullptr;
  unsigned flags = MHD_USE_EPOLL | MHD_USE_INTERNAL_POLLING_THREAD;
  if (inet_pton(AF_INET, address.c_str(), &four.sin_addr) == 1) {
    four.sin_family = AF_INET;
    four.sin_port = htons(static_cast<uint16_t>(port));
    socketAddress = reinterpret_cast<const sockaddr*>(&four);
  } else if (inet_pton(AF_INET6, address.c_str(), &six.sin6_addr) == 1) {
    six.sin6_family = AF_INET6;
    six.sin6_port = htons(static_cast<uint16_t>(port));
    socketAddress = reinterpret_cast<const sockaddr*>(&six);
    flags |= MHD_USE_IPv6;
  } else {
    return -1;
  }
  // TLS: every handshake asks the reloader for the pair in use, so that a reload reaches new
  // connections without a restart.
  MHD_OptionItem tlsOptions[] = {{MHD_OPTION_END, 0, nullptr}, {MHD_OPTION_END, 0, nullptr}};
  if (tls != nullptr) {
    if (!tlsSupported() || !tls->startServing()) return -1;
    flags |= MHD_USE_TLS;
    tlsOptions[0] = {MHD_OPTION_HTTPS_CERT_CALLBACK, 0, reinterpret_cast<void*>(&CertificateReloader::retrieve)};
  }
  // The engine's own limit backs the guard's: a little higher, so that the guard, which logs,
  // is the one that refuses.
  const unsigned engineLimit = static_cast<unsigned>(limits.maxTotal) + 64;
  daemon = MHD_start_daemon(
      flags, static_cast<uint16_t>(port), &Callbacks::acceptPolicy, this, &Callbacks::handle, this,
      MHD_OPTION_SOCK_ADDR, socketAddress, MHD_OPTION_THREAD_POOL_SIZE, THREADS, MHD_OPTION_CONNECTION_LIMIT,
      engineLimit, MHD_OPTION_CONNECTION_MEMORY_LIMIT, CONNECTION_MEMORY_BYTES, MHD_OPTION_CONNECTION_TIMEOUT,
      static_cast<unsigned>(60), MHD_OPTION_LISTEN_BACKLOG_SIZE, static_cast<unsigned>(1024),
      MHD_OPTION_URI_LOG_CALLBACK, &Callbacks::requestStarted, this, MHD_OPTION_NOTIFY_COMPLETED,
      &Callbacks::requestEnded, this, MHD_OPTION_NOTIFY_CONNECTION, &Callbacks::connectionChanged, this,
      MHD_OPTION_ARRAY, tlsOptions, MHD_OPTION_END);
  if (daemon == nullptr) {
    if (tls != nullptr) tls->stopServing();
    return -1;
  }
  const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_BIND_PORT);
  if (info == nullptr || info->port == 0) {
    MHD_stop_daemon(daemon);
    daemon = nullptr;
    if (tls != nullptr) tls->stopServing();
    return -1;
  }
  return info->port;
}

bool ScoreServer::run() {
  if (daemon == nullptr) return false;
  std::unique_lock<std::mutex> lock(stopLock);
  while (!stopRequested) {
    // Deadlines are whole seconds; a quarter-second sweep cuts a connection soon after its own.
    stopSignal.wait_for(lock, std::chrono::milliseconds(250));
    lock.unlock();
    guard.sweep(ConnectionGuard::Clock::now());
    lock.lock();
  }
  lock.unlock();
  MHD_stop_daemon(daemon);
  daemon = nullptr;
  return true;
}

void ScoreServer::stop() {
  std::lock_guard<std::mutex> lock(stopLock);
  stopRequested = true;
  stopSignal.notify_all();
}
