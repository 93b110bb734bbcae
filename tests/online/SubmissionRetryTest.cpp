// The real pellix-scores-server on each engine, when a submission is sent again because its
// reply was lost: with its submission_id it is stored once and answered with the first reply's
// rank, even when the copies arrive together; a database from before the id is upgraded in
// place and keeps every row; a storage failure whose driver message spans several lines leaves
// one log line.
#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BackendDatabase.h"
#include "ScoreChecksum.h"
#include "ScoresServerProcess.h"

namespace {

const std::string FIRST_ID = "0123456789abcdef0123456789abcdef";
const std::string SECOND_ID = "fedcba9876543210fedcba9876543210";

// A body as the game sends it, with the optional id when one is given.
std::string submission(const std::string& name, int score, int mode, const std::string& submissionId) {
  const int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
  std::string body = "game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + name +
                     "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash);
  if (!submissionId.empty()) body += "&submission_id=" + submissionId;
  return body;
}

// "<status> <body>" of one exchange, so that a whole reply is compared at once.
std::string post(int port, const std::string& body) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(10, 0);
  auto reply = client.Post("/pellix/submit_score/", body, "application/x-www-form-urlencoded");
  if (!reply) return "no reply";
  return std::to_string(reply->status) + " " + reply->body;
}

// The lines of a mode's table, best first.
std::vector<std::string> table(int port, int mode) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(10, 0);
  auto reply = client.Get(("/pellix/top_scores/?game_id=0&game_mode=" + std::to_string(mode) + "&max_res=100").c_str());
  std::vector<std::string> lines;
  if (!reply || reply->status != 200) {
    lines.push_back("no table");
    return lines;
  }
  std::istringstream body(reply->body);
  std::string line;
  std::getline(body, line);  // the header line
  while (std::getline(body, line)) lines.push_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

class SubmissionRetry : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    database = std::make_unique<BackendDatabase>(GetParam());
    ASSERT_TRUE(database->ready()) << database->failure();
  }

  std::unique_ptr<ScoresServerProcess> startServer() {
    auto server = std::make_unique<ScoresServerProcess>(database->location(),
                                                        std::vector<std::string>{"--submit-limit", "0"});
    EXPECT_TRUE(server->started()) << server->output();
    return server;
  }

  std::unique_ptr<BackendDatabase> database;
};

INSTANTIATE_TEST_SUITE_P(Engines, SubmissionRetry, BACKENDS);

TEST_P(SubmissionRetry, AResentSubmissionIsStoredOnceWithItsFirstRank) {
  auto server = startServer();
  ASSERT_TRUE(server->started());
  const int port = server->listeningPort();
  EXPECT_EQ(post(port, submission("Ann", 100, 0, FIRST_ID)), "200 OK,1\n");
  // A better score arrives before the retry: the retry still gets the rank its first reply gave.
  EXPECT_EQ(post(port, submission("Bob", 200, 0, "")), "200 OK,1\n");
  EXPECT_EQ(post(port, submission("Ann", 100, 0, FIRST_ID)), "200 OK,1\n");
  EXPECT_EQ(table(port, 0), (Lines{"Bob,200", "Ann,100"}));

  // The id of a stored score does not fit another one, in its mode or in another.
  EXPECT_EQ(post(port, submission("Ann", 101, 0, FIRST_ID)), "409 submission_id already used for another score\n");
  EXPECT_EQ(post(port, submission("Ann", 100, 1, FIRST_ID)), "409 submission_id already used for another score\n");
  EXPECT_EQ(table(port, 0), (Lines{"Bob,200", "Ann,100"}));
  EXPECT_EQ(table(port, 1), Lines{});

  // Copies sent together on several connections (a client that gave up waiting too soon):
  // one row, and every copy gets the same rank.
  const int copies = 8;
  std::vector<std::string> replies(copies);
  std::vector<std::thread> senders;
  for (int i = 0; i < copies; ++i) {
    senders.emplace_back([&, i] { replies[i] = post(port, submission("Cy", 150, 0, SECOND_ID)); });
  }
  for (std::thread& sender : senders) sender.join();
  for (const std::string& reply : replies) EXPECT_EQ(reply, "200 OK,2\n");
  EXPECT_EQ(table(port, 0), (Lines{"Bob,200", "Cy,150", "Ann,100"}));
}

// The tables a server of schema version 1 made, in each engine's dialect.
std::string versionOneTables(Backend backend, bool withVersionTable) {
  const bool sqlite = backend == Backend::SQLITE;
  std::string sql = std::string("CREATE TABLE scores (id ") +
                    (sqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY") +
                    ", game_mode INTEGER NOT NULL, name TEXT NOT NULL, score INTEGER NOT NULL, submitted_at " +
                    (sqlite ? "INTEGER" : "BIGINT") + " NOT NULL);" +
                    "CREATE INDEX scores_by_rank ON scores(game_mode, score DESC, id);";
  if (withVersionTable) {
    sql += "CREATE TABLE schema_version (version INTEGER NOT NULL); INSERT INTO schema_version VALUES(1);";
  }
  return sql +
         "INSERT INTO scores(game_mode, name, score, submitted_at) VALUES"
         "(0, 'Ann', 500, 1700000000), (0, 'Bob', 300, 1700000001), (0, 'Cy', 300, 1700000002),"
         "(11, 'Dee', 7, 1700000003);";
}

TEST_P(SubmissionRetry, AnOlderDatabaseIsUpgradedAndKeepsEveryRow) {
  for (bool withVersionTable : {true, false}) {
    SCOPED_TRACE(withVersionTable ? "marked version 1" : "from before the version table");
    database = std::make_unique<BackendDatabase>(GetParam());
    ASSERT_TRUE(database->ready()) << database->failure();
    std::string error;
    ASSERT_TRUE(database->execute(versionOneTables(GetParam(), withVersionTable), error)) << error;
    for (int start = 0; start < 2; ++start) {
      // The second start finds the database already upgraded.
      auto server = startServer();
      ASSERT_TRUE(server->started());
      const int port = server->listeningPort();
      EXPECT_EQ(table(port, 11), Lines{"Dee,7"});
      EXPECT_EQ(post(port, submission("Eve", 300, 0, FIRST_ID)), "200 OK,4\n");
      Lines expected = {"Ann,500", "Bob,300", "Cy,300", "Eve,300"};
      if (start == 1) expected.push_back("Flo,1");
      EXPECT_EQ(table(port, 0), expected);
      // Scores without an id go on being stored as before.
      EXPECT_EQ(post(port, submission("Flo", 1, 0, "")), start == 0 ? "200 OK,5\n" : "200 OK,6\n");
    }
  }
}

TEST_P(SubmissionRetry, AStorageFailureIsOneLogLineWhateverTheDriverSays) {
  auto server = startServer();
  ASSERT_TRUE(server->started());
  ASSERT_EQ(table(server->listeningPort(), 0), Lines{});
  std::string error;
  ASSERT_TRUE(database->execute("DROP TABLE scores", error)) << error;
  EXPECT_EQ(table(server->listeningPort(), 0), Lines{"no table"});
  ASSERT_TRUE(server->waitForOutput("storage failure reading table 0")) << server->output();
  std::istringstream output(server->output());
  std::string line;
  std::string failure;
  while (std::getline(output, line)) {
    EXPECT_TRUE(line.rfind("listening on ", 0) == 0 || line.rfind("pellix-scores-server: ", 0) == 0)
        << "a line that is not a log line: " << line;
    if (line.find("storage failure reading table 0") != std::string::npos) failure = line;
  }
  // PostgreSQL's message points at the statement on lines of its own: they are kept, folded.
  if (GetParam() == Backend::POSTGRES) {
    EXPECT_NE(failure.find(" / LINE 1: SELECT"), std::string::npos) << failure;
  }
}

}  // namespace
