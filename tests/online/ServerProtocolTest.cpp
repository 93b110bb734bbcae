// The real pellix-scores-server binary spoken to directly over HTTP: every malformed submission
// and query is refused with a 4xx status and a one-line reason, and nothing is stored; a wrong
// method gets 405 with the methods allowed; garbage on the socket does not take it down; its
// command line.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "BackendDatabase.h"
#include "ScoreChecksum.h"
#include "ScoresServerProcess.h"
#include "TempFolder.h"

namespace {

// A body as the game would send it, with the checksum over the given raw name.
std::string validBody(const std::string& name, int score, int mode, const std::string& escapedName) {
  int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
  return "game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + escapedName +
         "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash);
}

bool isOneLine(const std::string& body) {
  return !body.empty() && body.back() == '\n' && body.find('\n') == body.size() - 1;
}

class ServerProtocol : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    database = std::make_unique<BackendDatabase>(GetParam());
    ASSERT_TRUE(database->ready()) << database->failure();
    server = std::make_unique<ScoresServerProcess>(database->location(),
                                                   std::vector<std::string>{"--submit-limit", "0", "--quiet"});
    ASSERT_TRUE(server->started());
    client = std::make_unique<httplib::Client>("127.0.0.1", server->listeningPort());
    client->set_read_timeout(5, 0);
  }

  httplib::Result post(const std::string& body) {
    return client->Post("/pellix/submit_score/", body, "application/x-www-form-urlencoded");
  }

  // All twelve tables hold nothing.
  void expectNothingStored() {
    for (int mode = 0; mode < 12; ++mode) {
      auto reply = client->Get(("/pellix/top_scores/?game_id=0&game_mode=" + std::to_string(mode) + "&max_res=100").c_str());
      ASSERT_TRUE(reply);
      EXPECT_EQ(reply->status, 200);
      EXPECT_EQ(reply->body, "name,score\n") << "mode " << mode;
    }
  }

  std::unique_ptr<BackendDatabase> database;
  std::unique_ptr<ScoresServerProcess> server;
  std::unique_ptr<httplib::Client> client;
};

INSTANTIATE_TEST_SUITE_P(Engines, ServerProtocol, BACKENDS);

struct MalformedCase {
  const char* what;
  std::string body;
  int status;
};

TEST_P(ServerProtocol, MalformedSubmissionsAreRefusedAndNothingIsStored) {
  const std::string good = validBody("Ann", 100, 0, "Ann");
  std::vector<MalformedCase> cases = {
      {"empty body", "", 400},
      {"missing hash", "game_id=0&game_mode=0&device_id=0&user_name=Ann&score=100", 400},
      {"missing name", "game_id=0&game_mode=0&device_id=0&score=100&hash=1", 400},
      {"extra field", good + "&extra=1", 400},
      {"duplicate field", good + "&score=100", 400},
      {"empty submission_id", good + "&submission_id=", 400},
      {"submission_id of 31 digits", good + "&submission_id=" + std::string(31, 'a'), 400},
      {"submission_id of 33 digits", good + "&submission_id=" + std::string(33, 'a'), 400},
      {"upper-case submission_id", good + "&submission_id=" + std::string(32, 'A'), 400},
      {"submission_id not hexadecimal", good + "&submission_id=" + std::string(31, 'a') + "g", 400},
      {"submission_id with a NUL", good + "&submission_id=" + std::string(31, 'a') + "%00", 400},
      {"two submission_ids", good + "&submission_id=" + std::string(32, 'a') + "&submission_id=" + std::string(32, 'b'),
       400},
      {"bad checksum", validBody("Ann", 100, 0, "Ann") + "1", 400},
      {"checksum of another name", validBody("Bob", 100, 0, "Ann"), 400},
      {"mode 12", validBody("Ann", 100, 12, "Ann"), 400},
      {"mode -1", validBody("Ann", 100, -1, "Ann"), 400},
      {"score 1000000", validBody("Ann", 1000000, 0, "Ann"), 400},
      {"score -1", validBody("Ann", -1, 0, "Ann"), 400},
      {"score with a leading zero", "game_id=0&game_mode=0&device_id=0&user_name=Ann&score=0100&hash=" +
                                        std::to_string(ScoreChecksum::ofSubmission(0, 0, 0, "Ann", 3, 100)), 400},
      {"score with a plus sign", "game_id=0&game_mode=0&device_id=0&user_name=Ann&score=%2B100&hash=" +
                                     std::to_string(ScoreChecksum::ofSubmission(0, 0, 0, "Ann", 3, 100)), 400},
      {"score not a number", "game_id=0&game_mode=0&device_id=0&user_name=Ann&score=lots&hash=1", 400},
      {"game_id 1", "game_id=1&game_mode=0&device_id=0&user_name=Ann&score=100&hash=" +
                        std::to_string(ScoreChecksum::ofSubmission(1, 0, 0, "Ann", 3, 100)), 400},
      {"empty name", validBody("", 100, 0, ""), 400},
      {"name of 256 bytes", validBody(std::string(256, 'a'), 100, 0, std::string(256, 'a')), 400},
      {"name not UTF-8", validBody("\xFF", 100, 0, "%FF"), 400},
      {"overlong UTF-8", validBody("\xC0\xAF", 100, 0, "%C0%AF"), 400},
      {"UTF-8 surrogate", validBody("\xED\xA0\x80", 100, 0, "%ED%A0%80"), 400},
      {"cut-off UTF-8", validBody("Zo\xC3", 100, 0, "Zo%C3"), 400},
      {"name with a comma", validBody("A,B", 100, 0, "A%2CB"), 400},
      {"name with a line feed", validBody("A\nB", 100, 0, "A%0AB"), 400},
      {"name with a carriage return", validBody("A\rB", 100, 0, "A%0DB"), 400},
      {"name with a NUL", validBody(std::string("A\0B", 3), 100, 0, "A%00B"), 400},
      {"bad percent escape", "game_id=0&game_mode=0&device_id=0&user_name=A%G1&score=100&hash=1", 400},
      {"percent escape cut off", "game_id=0&game_mode=0&device_id=0&user_name=A%4&score=100&hash=1", 400},
      {"unescaped '=' in a value", "game_id=0&game_mode=0&device_id=0&user_name=A=B&score=100&hash=1", 400},
      {"field without '='", good + "&flag", 400},
      {"empty piece", good + "&", 400},
      {"binary body", std::string("\x00\x01\xFF\xFE&&==%%", 10), 400},
      {"body over 8 KiB", good + "&pad=" + std::string(9000, 'x'), 413},
  };
  for (const MalformedCase& c : cases) {
    auto reply = post(c.body);
    ASSERT_TRUE(reply) << c.what;
    EXPECT_EQ(reply->status, c.status) << c.what;
    EXPECT_TRUE(isOneLine(reply->body)) << c.what << ": " << reply->body;
  }
  expectNothingStored();
  // The good body itself is accepted and ranks first: nothing refused was counted.
  auto reply = post(good);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
  EXPECT_EQ(reply->body, "OK,1\n");
}

TEST_P(ServerProtocol, MalformedQueriesAndUnknownRoutesAreRefusedWithOneLine) {
  struct Case {
    const char* method;
    std::string target;
    int status;
    // The methods a 405 names in its Allow header.
    const char* allow;
  };
  std::vector<Case> cases = {
      {"GET", "/pellix/top_scores/", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=0", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=0", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=101", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=12&max_res=10", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=-1&max_res=10", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=1&game_mode=0&max_res=10", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=x&max_res=10", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=10&more=1", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=0&game_mode=0&max_res=10", 400, ""},
      {"GET", "/pellix/top_scores/?game_id=0&game_mode=%ZZ&max_res=10", 400, ""},
      {"GET", "/pellix/nothing/", 404, ""},
      {"POST", "/pellix/nothing/", 404, ""},
      {"GET", "/pellix/top_scores", 404, ""},
      {"GET", "/pellix/submit_score/", 405, "POST"},
      {"PUT", "/pellix/submit_score/", 405, "POST"},
      {"DELETE", "/pellix/submit_score/", 405, "POST"},
      {"POST", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=10", 405, "GET, HEAD"},
      {"PUT", "/pellix/top_scores/?game_id=0&game_mode=0&max_res=10", 405, "GET, HEAD"},
      {"OPTIONS", "/pellix/top_scores/", 405, "GET, HEAD"},
  };
  for (const Case& c : cases) {
    httplib::Request request;
    request.method = c.method;
    request.path = c.target;
    if (request.method == "POST" || request.method == "PUT") request.body = "x=1";
    auto reply = client->send(request);
    ASSERT_TRUE(reply) << c.method << " " << c.target;
    EXPECT_EQ(reply->status, c.status) << c.method << " " << c.target;
    EXPECT_TRUE(isOneLine(reply->body)) << c.target << ": " << reply->body;
    EXPECT_EQ(reply->get_header_value("Allow"), c.allow) << c.method << " " << c.target;
  }
  // A good query with escaped digits is the same query.
  auto reply = client->Get("/pellix/top_scores/?game_id=0&game_mode=%31&max_res=1%30");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
}

// Sends raw bytes on a fresh connection and returns what comes back before the server closes
// it or 3 s pass.
std::string rawExchange(int port, const std::string& bytes) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    timeval limit = {3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    char buffer[4096];
    ssize_t n;
    while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return reply;
}

TEST_P(ServerProtocol, GarbageOnTheSocketIsRefusedAndTheServerStaysUp) {
  const std::vector<std::string> garbage = {
      "GARBAGE\r\n\r\n",
      std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11),  // a TLS hello
      "POST /pellix/submit_score/ HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nshort",
      "POST /pellix/submit_score/ HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
      "POST /pellix/submit_score/ HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
      "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n",
      "",
  };
  for (const std::string& bytes : garbage) {
    std::string reply = rawExchange(server->listeningPort(), bytes);
    if (!reply.empty()) {
      EXPECT_EQ(reply.compare(0, 9, "HTTP/1.1 "), 0) << reply;
      EXPECT_EQ(reply[9], '4') << reply;
    }
  }
  expectNothingStored();
  auto reply = post(validBody("Ann", 5, 0, "Ann"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->body, "OK,1\n");
}

TEST(ServerCommandLine, HelpBadOptionsAndADamagedDatabase) {
  std::string output;
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--help"}, output), 0);
  for (const char* words :
       {"--db", "--bind", "--port", "--submit-limit", "--request-deadline", "--quiet", "--tls-cert", "--tls-key",
        "SIGHUP", "OK,<rank>", "429", "405"}) {
    EXPECT_NE(output.find(words), std::string::npos) << words;
  }
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--colour"}, output), 2);
  EXPECT_NE(output.find("unknown option --colour"), std::string::npos) << output;
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--port", "70000"}, output), 2);
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--submit-limit"}, output), 2);

  TempFolder folder;
  TempFolder::writeFile(folder.path("junk.db"), std::string(4096, '\x5a'));
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--db", folder.path("junk.db"), "--port", "0"}, output), 1);
  EXPECT_NE(output.find("cannot use the database"), std::string::npos) << output;
  EXPECT_EQ(TempFolder::contentOf(folder.path("junk.db")), std::string(4096, '\x5a')) << "left untouched";

  EXPECT_EQ(ScoresServerProcess::runToEnd({"--db", folder.path("no/such/folder/s.db"), "--port", "0"}, output), 1);
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--trusted-proxy", "proxy.example.org"}, output), 2);
  EXPECT_NE(output.find("--trusted-proxy needs an IPv4 or IPv6 address"), std::string::npos) << output;
}

TEST(ServerCommandLine, APostgresDatabaseThatCannotBeReachedOrIsNewerIsRefused) {
  std::string output;
  // Nothing listens there: the server says so and exits instead of serving 503s.
  TempFolder folder;
  std::string deadUri;
  {
    ScoresServerProcess probe(folder.path("probe.db"));
    ASSERT_TRUE(probe.started());
    deadUri = "postgresql://pellix@127.0.0.1:" + std::to_string(probe.listeningPort()) + "/nothing";
  }
  EXPECT_EQ(ScoresServerProcess::runToEnd({"--db", deadUri, "--port", "0"}, output), 1);
  EXPECT_NE(output.find("cannot use the database"), std::string::npos) << output;

  for (Backend backend : {Backend::SQLITE, Backend::POSTGRES}) {
    BackendDatabase database(backend);
    ASSERT_TRUE(database.ready()) << database.failure();
    {
      ScoresServerProcess first(database.location());
      ASSERT_TRUE(first.started()) << first.output();
    }
    std::string error;
    ASSERT_TRUE(database.execute("UPDATE schema_version SET version = 3", error)) << error;
    EXPECT_EQ(ScoresServerProcess::runToEnd({"--db", database.location(), "--port", "0"}, output), 1);
    EXPECT_NE(output.find("schema version 3, newer than this server's 2"), std::string::npos) << output;
  }
}

}  // namespace
