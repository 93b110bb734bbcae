// Fuzz target for the high-score server's request handling, on a score store in memory. The
// input is used twice: as it is, as a submission body and as a top-scores query; and shaped
// into a well-formed submission (mode, score, checksum and perhaps a submission id from its
// first bytes, the rest as the name), which reaches the name rules and the store. Whatever
// arrives, the reply is a known status with one line (or the table), a refused submission
// stores nothing, an accepted one stores exactly one score whose name the top-ten lines can
// carry (none when its id was stored before), and every table stays in order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "RateLimiter.h"
#include "ScoreChecksum.h"
#include "ScoreRequestHandler.h"
#include "SqliteScoreStore.h"
#include "SubmissionValidator.h"
#include "Utf8Validator.h"

namespace {

std::unique_ptr<SqliteScoreStore> openStore() {
  auto opened = SqliteScoreStore::open(":memory:");
  FUZZ_CHECK(opened, "an in-memory store opens");
  return std::move(opened.value());
}

struct Server {
  std::unique_ptr<SqliteScoreStore> store = openStore();
  RateLimiter limiter{0};
  ServerLog log{true};
  ScoreRequestHandler handler{*store, limiter, log};
};

std::unique_ptr<Server>& current() {
  static std::unique_ptr<Server> instance = std::make_unique<Server>();
  return instance;
}

Server& server() { return *current(); }

int storedScores() {
  int total = 0;
  for (int mode = 0; mode < SubmissionValidator::MODE_COUNT; ++mode) {
    StorageResult<int> count = server().store->count(mode);
    FUZZ_CHECK(count, "an in-memory store counts");
    total += count.value();
  }
  return total;
}

std::string escaped(const std::string& raw) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : raw) {
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 15];
  }
  return out;
}

void checkOneLine(const ServerReply& reply) {
  FUZZ_CHECK(!reply.body.empty() && reply.body.back() == '\n', "a reply ends with a line feed");
  FUZZ_CHECK(reply.body.find('\n') == reply.body.size() - 1, "a refusal is one line");
}

void submit(const std::string& body) {
  const int before = storedScores();
  const ServerReply reply = server().handler.submit("127.0.0.1", body, RateLimiter::Clock::now());
  const int after = storedScores();
  checkOneLine(reply);
  if (reply.status == 200) {
    FUZZ_CHECK(reply.body.compare(0, 3, "OK,") == 0, "an accepted submission gets its rank");
    const int rank = std::stoi(reply.body.substr(3));
    FUZZ_CHECK(rank >= 1 && rank <= after, "the rank is a place in the table");
    // A submission id already stored is answered again without a second row.
    const bool mayRepeat = body.find("submission_id=") != std::string::npos;
    FUZZ_CHECK(after == before + 1 || (mayRepeat && after == before), "exactly one score stored");
  } else {
    FUZZ_CHECK(reply.status == 400 || reply.status == 409, "a refused submission is a 400 or a 409");
    FUZZ_CHECK(after == before, "a refused submission stores nothing");
  }
}

void query(const std::string& text) {
  const ServerReply reply = server().handler.topScores(text);
  if (reply.status != 200) {
    FUZZ_CHECK(reply.status == 400, "a bad query is a 400");
    checkOneLine(reply);
    return;
  }
  FUZZ_CHECK(reply.body.compare(0, 11, "name,score\n") == 0, "the header line first");
}

// Every table: at most max_res lines of name,score with exactly one comma, names the rules
// allow, best first.
void checkTables() {
  for (int mode = 0; mode < SubmissionValidator::MODE_COUNT; ++mode) {
    const ServerReply reply =
        server().handler.topScores("game_id=0&game_mode=" + std::to_string(mode) + "&max_res=100");
    FUZZ_CHECK(reply.status == 200, "a good query is answered");
    size_t start = reply.body.find('\n') + 1;
    int lines = 0;
    long previous = 1000000;
    while (start < reply.body.size()) {
      const size_t end = reply.body.find('\n', start);
      FUZZ_CHECK(end != std::string::npos, "every line ends with a line feed");
      const std::string line = reply.body.substr(start, end - start);
      const size_t comma = line.find(',');
      FUZZ_CHECK(comma != std::string::npos && line.find(',', comma + 1) == std::string::npos, "two fields");
      std::string reason;
      FUZZ_CHECK(SubmissionValidator::isAcceptableName(line.substr(0, comma), reason), "a stored name obeys the rules");
      const long score = std::stol(line.substr(comma + 1));
      FUZZ_CHECK(score >= 0 && score <= previous, "best first");
      previous = score;
      ++lines;
      start = end + 1;
    }
    FUZZ_CHECK(lines <= 100, "no more than asked for");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  submit(input);
  query(input);

  // A well-formed submission built from the input: byte 0 picks the mode, bytes 1 to 3 the
  // score, byte 4 whether the checksum is right, the rest is the name.
  if (size >= 5) {
    const int mode = data[0] % 14 - 1;  // -1 to 12: both ends are out of range
    const int score = (data[1] | data[2] << 8 | data[3] << 16) % 1000002 - 1;
    const std::string name = input.substr(5);
    int hash = ScoreChecksum::ofSubmission(0, mode, 0, name.data(), name.size(), score);
    if (data[4] & 1) hash += 1;
    // Bit 1 of byte 4 adds a submission id from a small set, so that ids come back, now with
    // the same score and now with another.
    const std::string id = (data[4] & 2) ? "&submission_id=" + std::string(32, "0123456789abcdef"[data[1] % 16]) : "";
    submit("game_id=0&game_mode=" + std::to_string(mode) + "&device_id=0&user_name=" + escaped(name) +
           "&score=" + std::to_string(score) + "&hash=" + std::to_string(hash) + id);
  }
  // The tables grow with every accepted input: look at them now and then, and start afresh
  // before counting them gets slow.
  static unsigned runs = 0;
  if (++runs % 64 == 0) {
    checkTables();
    if (storedScores() > 2000) current() = std::make_unique<Server>();
  }
  return 0;
}
