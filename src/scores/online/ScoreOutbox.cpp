// The outbox of undelivered submissions and its file.
#include "ScoreOutbox.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "Assert.h"
#include "Common/AtomicFileWriter.h"
#include "HiScoresUploader.h"

namespace {

const char* const HEADER = "pellix-score-outbox 1";
const int TABLE_COUNT = 12;
const int MAX_SCORE = 999999;
const int MAX_ATTEMPTS = 1000000;

// A whole decimal field without sign or leading garbage, within [0, limit].
bool readNumber(const std::string& field, int64_t limit, int64_t& value) {
  if (field.empty() || field.size() > 18) return false;
  value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= limit;
}

}  // namespace

ScoreOutbox::ScoreOutbox(std::string path, Clock clock) : filePath(std::move(path)), now(std::move(clock)) {
  MYTL_ASSERT(now != nullptr, "ScoreOutbox");
  load();
}

int64_t ScoreOutbox::retryDelay(int failedAttempts) {
  int64_t delay = FIRST_RETRY_DELAY_S;
  for (int i = 1; i < failedAttempts && delay < MAX_RETRY_DELAY_S; ++i) delay *= 2;
  return delay < MAX_RETRY_DELAY_S ? delay : MAX_RETRY_DELAY_S;
}

std::string ScoreOutbox::format(const std::vector<ScoreSubmission>& submissions) {
  std::string text = std::string(HEADER) + "\n";
  for (const ScoreSubmission& s : submissions) {
    text += s.id + " " + std::to_string(s.gameMode) + " " + std::to_string(s.score) + " " +
            std::to_string(s.attempts) + " " + std::to_string(s.nextAttemptAt) + " " + s.name + "\n";
  }
  return text;
}

bool ScoreOutbox::parse(const std::string& text, std::vector<ScoreSubmission>& submissions) {
  submissions.clear();
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != HEADER) return false;
  // The last line ends with a line feed: a file cut short mid-line is damaged.
  if (text.empty() || text.back() != '\n') return false;
  while (std::getline(lines, line)) {
    // Five numbers' fields, then the name, which may hold spaces.
    std::string fields[5];
    size_t at = 0;
    for (std::string& field : fields) {
      const size_t space = line.find(' ', at);
      if (space == std::string::npos) return false;
      field = line.substr(at, space - at);
      at = space + 1;
    }
    ScoreSubmission s;
    s.id = fields[0];
    s.name = line.substr(at);
    int64_t mode = 0, score = 0, attempts = 0, next = 0;
    if (!ScoreSubmission::isId(s.id) || !readNumber(fields[1], TABLE_COUNT - 1, mode) ||
        !readNumber(fields[2], MAX_SCORE, score) || !readNumber(fields[3], MAX_ATTEMPTS, attempts) ||
        !readNumber(fields[4], INT64_MAX / 2, next) ||
        !HiScoresUploader::isSubmittableName(MyTl::BasicString<char>(s.name.c_str()))) {
      return false;
    }
    s.gameMode = static_cast<int>(mode);
    s.score = static_cast<int>(score);
    s.attempts = static_cast<int>(attempts);
    s.nextAttemptAt = next;
    if (submissions.size() >= MAX_SUBMISSIONS) return false;
    submissions.push_back(s);
  }
  return true;
}

void ScoreOutbox::load() {
  if (filePath.empty()) return;
  std::ifstream in(filePath, std::ios::binary);
  if (!in) return;
  std::string content(static_cast<size_t>(MAX_FILE_BYTES) + 1, '\0');
  in.read(&content[0], static_cast<std::streamsize>(content.size()));
  const std::streamsize got = in.gcount();
  if (got > MAX_FILE_BYTES) return;
  content.resize(static_cast<size_t>(got));
  std::vector<ScoreSubmission> read;
  // Names hold no NUL; one in the file is damage like any other.
  if (content.find('\0') != std::string::npos || !parse(content, read)) {
    std::fprintf(stderr, "Pellix ignores its damaged outbox of unsent scores %s.\n", filePath.c_str());
    return;
  }
  kept = read;
}

bool ScoreOutbox::save() const {
  if (filePath.empty()) return true;
  if (kept.empty()) {
    // Nothing left to send: no file, as before the first failed upload.
    return std::remove(filePath.c_str()) == 0 || std::ifstream(filePath).fail();
  }
  const std::string content = format(kept);
  bool ok = false;
  MyTl::AtomicFileWriter writer(filePath.c_str(), &ok);
  if (!ok) return false;
  if (writer.write(content.data(), static_cast<unsigned long>(content.size())) != content.size()) return false;
  return writer.commit();
}

bool ScoreOutbox::keep(ScoreSubmission submission) {
  std::lock_guard<std::mutex> guard(lock);
  submission.attempts += 1;
  submission.nextAttemptAt = now() + retryDelay(submission.attempts);
  bool replaced = false;
  for (ScoreSubmission& s : kept) {
    if (s.id == submission.id) {
      s = submission;
      replaced = true;
    }
  }
  if (!replaced) {
    if (kept.size() >= MAX_SUBMISSIONS) kept.erase(kept.begin());
    kept.push_back(submission);
  }
  return save();
}

std::vector<ScoreSubmission> ScoreOutbox::due() const {
  std::lock_guard<std::mutex> guard(lock);
  const int64_t moment = now();
  std::vector<ScoreSubmission> ready;
  for (const ScoreSubmission& s : kept) {
    // A moment further ahead than the longest wait comes from a clock set back: due now.
    if (s.nextAttemptAt <= moment || s.nextAttemptAt - moment > MAX_RETRY_DELAY_S) ready.push_back(s);
  }
  return ready;
}

void ScoreOutbox::remove(const std::string& id) {
  std::lock_guard<std::mutex> guard(lock);
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    if (it->id == id) {
      kept.erase(it);
      save();
      return;
    }
  }
}

std::vector<ScoreSubmission> ScoreOutbox::submissions() const {
  std::lock_guard<std::mutex> guard(lock);
  return kept;
}
