// The real server serving HTTPS with certificates made for the test, and the game's libcurl
// transport verifying them: a certificate from the CA the client trusts carries fetches and
// uploads; a wrong host name or an unknown CA fails as a certificate problem; plain HTTP to the
// TLS port fails at once and the server serves on; SIGHUP puts a renewed pair in use for new
// connections, and a bad new pair is logged while the old one keeps serving. The command line
// refuses half a pair and a pair that cannot be used.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CurlHttpTransport.h"
#include "LoopbackSocket.h"
#include "OnlineTestSupport.h"
#include "ScoreChecksum.h"
#include "ScoresServerProcess.h"
#include "TempFolder.h"
#include "TestCertificateAuthority.h"
#include "TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

const char* LOOPBACK_NAME = "IP:127.0.0.1";

std::string submissionBody(const std::string& name, int score) {
  const int hash = ScoreChecksum::ofSubmission(0, 0, 0, name.data(), name.size(), score);
  return "game_id=0&game_mode=0&device_id=0&user_name=" + name + "&score=" + std::to_string(score) +
         "&hash=" + std::to_string(hash);
}

// The top ten of mode 0 through a transport that trusts `caFile` ("" = the system's store).
HttpResponse fetchWith(const std::string& baseUrl, const std::string& caFile) {
  CurlHttpTransport transport(HttpLimits(), caFile);
  return transport.get(baseUrl + "/pellix/top_scores/?game_id=0&game_mode=0&max_res=10");
}

std::chrono::milliseconds scaled(int ms) { return std::chrono::milliseconds(testenv::scaledMs(ms)); }

class ServerTls : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestCertificateAuthority::toolPresent()) PELLIX_MISSING_PREREQUISITE("the openssl command is missing");
    trusted = std::make_unique<TestCertificateAuthority>(folder.str(), "trusted");
    ASSERT_TRUE(trusted->ready()) << trusted->failure();
    ASSERT_TRUE(trusted->issue(LOOPBACK_NAME, "loopback", loopback)) << trusted->failure();
    // The files the server is started with; a renewal replaces them where they are.
    servedCertificate = folder.path("served.pem");
    servedKey = folder.path("served.key");
    fs::copy_file(loopback.certificateFile, servedCertificate);
    fs::copy_file(loopback.keyFile, servedKey);
  }

  std::unique_ptr<ScoresServerProcess> startServer(const std::string& certificate, const std::string& key) {
    auto server = std::make_unique<ScoresServerProcess>(
        folder.path("scores.db"), std::vector<std::string>{"--tls-cert", certificate, "--tls-key", key});
    EXPECT_TRUE(server->started()) << server->output();
    return server;
  }

  static void replace(const std::string& from, const std::string& to) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  }

  TempFolder folder{"pellix-tls"};
  std::unique_ptr<TestCertificateAuthority> trusted;
  TestCertificateAuthority::Issued loopback;
  std::string servedCertificate;
  std::string servedKey;
};

TEST_F(ServerTls, TheGamesWorkersFetchAndUploadOverHttpsWithTheCaFile) {
  std::unique_ptr<ScoresServerProcess> server = startServer(servedCertificate, servedKey);
  ASSERT_TRUE(server->started());
  ASSERT_EQ(0u, server->baseUrl().rfind("https://", 0)) << server->baseUrl();
  ScoresUrl url(server->baseUrl());

  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>(HttpLimits(), trusted->certificateFile())};
  uploader.startUpload(MyTl::BasicString<char>("Ada", 3), 420, 0);
  ASSERT_TRUE(waitForFlag(uploader.scoreUploaded, scaled(30000)));
  EXPECT_FALSE(uploader.takeErrorAlertRequest());
  EXPECT_EQ(1, uploader.globalHighScorePosition.load());

  HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>(HttpLimits(), trusted->certificateFile())};
  fetcher.startFetch(0);
  ASSERT_TRUE(waitForFlag(fetcher.scoresFetched, scaled(30000)));
  ASSERT_EQ(1u, fetcher.hiScores.size());
  EXPECT_STREQ("Ada", fetcher.hiScores[0].name.c_str());
  EXPECT_EQ(420, fetcher.hiScores[0].score);
}

TEST_F(ServerTls, AWrongHostNameOrAnUnknownCaIsACertificateProblem) {
  TestCertificateAuthority stranger(folder.str(), "stranger");
  ASSERT_TRUE(stranger.ready()) << stranger.failure();
  TestCertificateAuthority::Issued elsewhere;
  ASSERT_TRUE(trusted->issue("DNS:scores.example.org", "elsewhere", elsewhere)) << trusted->failure();

  struct Case {
    const char* what;
    std::string certificate;
    std::string key;
    std::string clientCaFile;
    // A word of libcurl's own reason that must be in the error.
    const char* reason;
  } cases[] = {
      {"a certificate for another host", elsewhere.certificateFile, elsewhere.keyFile, trusted->certificateFile(),
       "name"},
      {"a CA the client does not trust", loopback.certificateFile, loopback.keyFile, stranger.certificateFile(),
       "certificate"},
      {"a private CA against the system's trust store", loopback.certificateFile, loopback.keyFile, "", "certificate"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    std::unique_ptr<ScoresServerProcess> server = startServer(test.certificate, test.key);
    ASSERT_TRUE(server->started());
    const HttpResponse fetched = fetchWith(server->baseUrl(), test.clientCaFile);
    EXPECT_FALSE(fetched.completed);
    EXPECT_EQ(0u, fetched.error.rfind(CurlHttpTransport::CERTIFICATE_PROBLEM, 0)) << fetched.error;
    EXPECT_NE(std::string::npos, fetched.error.find(test.reason)) << fetched.error;
    EXPECT_EQ(std::string::npos, fetched.error.find('\n')) << fetched.error;

    // An upload is refused the same way, and nothing reaches the table.
    CurlHttpTransport transport(HttpLimits(), test.clientCaFile);
    const HttpResponse posted =
        transport.post(server->baseUrl() + "/pellix/submit_score/", submissionBody("Eve", 5),
                       {{"Content-Type", "application/x-www-form-urlencoded"}});
    EXPECT_FALSE(posted.completed);
    EXPECT_EQ(0u, posted.error.rfind(CurlHttpTransport::CERTIFICATE_PROBLEM, 0)) << posted.error;
    const HttpResponse table = fetchWith(server->baseUrl(), trusted->certificateFile());
    if (test.certificate == loopback.certificateFile) {
      ASSERT_TRUE(table.succeeded()) << table.error;
      EXPECT_EQ(std::string::npos, table.body.find("Eve")) << table.body;
    }
  }
}

TEST_F(ServerTls, PlainHttpToTheTlsPortFailsAtOnceAndTheServerServesOn) {
  std::unique_ptr<ScoresServerProcess> server = startServer(servedCertificate, servedKey);
  ASSERT_TRUE(server->started());
  const std::string plainUrl = "http://127.0.0.1:" + std::to_string(server->listeningPort());
  for (int attempt = 0; attempt < 3; ++attempt) {
    // A raw request gets no HTTP reply; libcurl's ends as an error well inside its time-out.
    const LoopbackSocket::Reply raw =
        LoopbackSocket::request(server->listeningPort(), "127.0.0.1", "GET", "/pellix/top_scores/?game_id=0");
    EXPECT_EQ(-1, raw.status);
    HttpLimits limits;
    limits.totalTimeoutMs = testenv::scaledMs(15000);
    const auto started = std::chrono::steady_clock::now();
    const HttpResponse plain = CurlHttpTransport(limits).get(plainUrl + "/pellix/top_scores/?game_id=0");
    EXPECT_FALSE(plain.succeeded()) << plain.status << " " << plain.body;
    EXPECT_LT(std::chrono::steady_clock::now() - started, scaled(5000)) << plain.error;
  }
  const HttpResponse secure = fetchWith(server->baseUrl(), trusted->certificateFile());
  EXPECT_TRUE(secure.succeeded()) << secure.error;
  EXPECT_EQ("name,score\n", secure.body);
}

TEST_F(ServerTls, SighupPutsARenewedPairInUseAndKeepsTheOldOneWhenTheNewOneIsBad) {
  std::unique_ptr<ScoresServerProcess> server = startServer(servedCertificate, servedKey);
  ASSERT_TRUE(server->started());
  TestCertificateAuthority renewed(folder.str(), "renewed");
  ASSERT_TRUE(renewed.ready()) << renewed.failure();
  TestCertificateAuthority::Issued next;
  ASSERT_TRUE(renewed.issue(LOOPBACK_NAME, "next", next)) << renewed.failure();

  // A certificate whose key is not the one beside it: refused, logged in one line, and the
  // pair in use keeps serving.
  replace(next.certificateFile, servedCertificate);
  ASSERT_EQ(0, kill(server->processId(), SIGHUP));
  ASSERT_TRUE(server->waitForOutput("kept the TLS certificate in use", scaled(15000))) << server->output();
  const std::string log = server->output();
  const size_t line = log.find("kept the TLS certificate in use");
  EXPECT_NE(std::string::npos, log.find("does not belong", line)) << log;
  EXPECT_EQ(log.size() - 1, log.find('\n', line)) << "one line: " << log;
  EXPECT_TRUE(fetchWith(server->baseUrl(), trusted->certificateFile()).succeeded());
  EXPECT_FALSE(fetchWith(server->baseUrl(), renewed.certificateFile()).completed);

  // A missing key file is refused the same way.
  fs::remove(servedKey);
  ASSERT_EQ(0, kill(server->processId(), SIGHUP));
  ASSERT_TRUE(testenv::waitUntil(
      [&] { return server->output().find("cannot read " + servedKey) != std::string::npos; }, 15000))
      << server->output();
  EXPECT_TRUE(fetchWith(server->baseUrl(), trusted->certificateFile()).succeeded());

  // The whole renewed pair: new connections get it without a restart.
  replace(next.keyFile, servedKey);
  ASSERT_EQ(0, kill(server->processId(), SIGHUP));
  ASSERT_TRUE(server->waitForOutput("reloaded the TLS certificate from " + servedCertificate, scaled(15000)))
      << server->output();
  const HttpResponse after = fetchWith(server->baseUrl(), renewed.certificateFile());
  EXPECT_TRUE(after.succeeded()) << after.error;
  const HttpResponse stale = fetchWith(server->baseUrl(), trusted->certificateFile());
  EXPECT_EQ(0u, stale.error.rfind(CurlHttpTransport::CERTIFICATE_PROBLEM, 0)) << stale.error;
  EXPECT_EQ(0, server->stop());
}

TEST_F(ServerTls, TheCommandLineRefusesHalfAPairAndAPairThatCannotBeUsed) {
  TestCertificateAuthority::Issued other;
  ASSERT_TRUE(trusted->issue(LOOPBACK_NAME, "other", other)) << trusted->failure();
  const std::string database = folder.path("never.db");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  } cases[] = {
      {{"--tls-cert", servedCertificate}, 2, "--tls-cert needs --tls-key too"},
      {{"--tls-key", servedKey}, 2, "--tls-key needs --tls-cert too"},
      {{"--tls-cert", folder.path("missing.pem"), "--tls-key", servedKey}, 1,
       "cannot serve TLS: cannot read " + folder.path("missing.pem")},
      {{"--tls-cert", servedCertificate, "--tls-key", other.keyFile}, 1, "does not belong to the certificate"},
      {{"--tls-cert", servedKey, "--tls-key", servedKey}, 1, "holds no usable PEM certificate"},
      {{"--tls-cert", servedCertificate, "--tls-key", servedCertificate}, 1, "holds no usable unencrypted PEM"},
  };
  for (const Case& test : cases) {
    std::vector<std::string> arguments = {"--db", database, "--port", "0"};
    arguments.insert(arguments.end(), test.arguments.begin(), test.arguments.end());
    std::string output;
    EXPECT_EQ(test.status, ScoresServerProcess::runToEnd(arguments, output)) << output;
    EXPECT_NE(std::string::npos, output.find(test.message)) << output;
    EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << output;
  }
  // Refused before the database was touched.
  EXPECT_FALSE(fs::exists(database));
}

}  // namespace
