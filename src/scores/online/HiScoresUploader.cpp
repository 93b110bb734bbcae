// The score submission.
#include "HiScoresUploader.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Assert.h"
#include "ScoreChecksum.h"
#include "ScoreOutbox.h"
#include "ScoreReplyParser.h"
#include "ScoreServerAddress.h"
#include "ScoreSubmission.h"
#include "StringProcessor.h"
#include "Translation.h"
#include "UrlEncodeValue.h"
#include "Utf8Validator.h"

using Text = MyTl::BasicString<char>;
using Processor = MyTl::StringProcessor<char>;

namespace {

// The constants every submission sends.
const int GAME_ID = 0;
const int DEVICE_ID = 0;
// The longest name the server stores.
const size_t MAX_NAME_BYTES = 255;

}  // namespace

const HiScoresUploader::AlertTexts& HiScoresUploader::errorAlertTexts() {
  static const AlertTexts texts = {
      TR_NOOP("Error Uploading"),
      TR_NOOP("There was an error uploading your high score.\n\nPlease check your internet connection."),
      // TRANSLATORS: a button of an alert; the game translates it with the context "alert button".
      "OK",
  };
  return texts;
}

const HiScoresUploader::AlertTexts& HiScoresUploader::keptAlertTexts() {
  static const AlertTexts texts = {
      TR_NOOP("Score Not Sent Yet"),
      TR_NOOP("Your score will be sent when the server can be reached."),
      "OK",
  };
  return texts;
}

HiScoresUploader::HiScoresUploader(std::unique_ptr<HttpTransport> transport)
    : MyTl::Thread("HiScoresUploader"), http(std::move(transport)) {
  MYTL_ASSERT(http != nullptr, "HiScoresUploader");
  // A running request gives up as soon as the owner asks the thread to stop (at exit).
  http->setCancelCheck([this] { return stopPending.load(); });
}

HiScoresUploader::~HiScoresUploader() {
  // run() uses the members: wait here, before they are destroyed.
  WaitForStop();
}

bool HiScoresUploader::isSubmittableName(const Text& playerName) {
  const char* bytes = playerName.c_str();
  const size_t length = static_cast<size_t>(playerName.length());
  if (length == 0 || length > MAX_NAME_BYTES || !Utf8Validator::isValid(bytes, length)) return false;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == ',' || c < 0x20 || c == 0x7f) return false;
  }
  return true;
}

std::string HiScoresUploader::refusalMessage(const std::string& reason) {
  // TRANSLATORS: %1$s is the server's reason, in English.
  return Translation::format(tr("The high-score server did not accept your score: %1$s."), reason.c_str());
}

bool HiScoresUploader::takeErrorAlertRequest() {
  std::lock_guard<std::mutex> guard(alertLock);
  return errorAlertPending.exchange(false, std::memory_order_acq_rel);
}

std::string HiScoresUploader::errorAlertTitle() const {
  std::lock_guard<std::mutex> guard(alertLock);
  return failureTitle;
}

std::string HiScoresUploader::errorAlertMessage() const {
  std::lock_guard<std::mutex> guard(alertLock);
  return failureMessage;
}

void HiScoresUploader::dropErrorAlert() {
  std::lock_guard<std::mutex> guard(alertLock);
  alertWanted = false;
  errorAlertPending.store(false, std::memory_order_release);
}

void HiScoresUploader::requestErrorAlert(const std::string& refusal) {
  std::lock_guard<std::mutex> guard(alertLock);
  if (!alertWanted) return;
  failureTitle = tr(errorAlertTexts().title);
  failureMessage = refusal.empty() ? std::string(tr(errorAlertTexts().message)) : refusalMessage(refusal);
  errorAlertPending.store(true, std::memory_order_release);
}

void HiScoresUploader::requestKeptAlert() {
  std::lock_guard<std::mutex> guard(alertLock);
  if (!alertWanted) return;
  failureTitle = tr(keptAlertTexts().title);
  failureMessage = tr(keptAlertTexts().message);
  errorAlertPending.store(true, std::memory_order_release);
}

bool HiScoresUploader::startUpload(const Text& playerName, int points, int gameMode) {
  if (isRunning()) return false;
  {
    std::lock_guard<std::mutex> guard(alertLock);
    alertWanted = true;
  }
  name = playerName;
  score = points;
  difficulty = gameMode;
  submissionId = ScoreSubmission::newId();
  globalHighScorePosition.store(-1, std::memory_order_relaxed);
  scoreUploaded.store(false, std::memory_order_relaxed);
  start(P_NORMAL, true);
  return true;
}

Text HiScoresUploader::formBody(const Text& playerName, int points, int gameMode) {
  int hash = ScoreChecksum::ofSubmission(GAME_ID, gameMode, DEVICE_ID, playerName.c_str(),
                                         static_cast<size_t>(playerName.length()), points);
  return Text("game_id=") + Processor::toString(GAME_ID) + "&game_mode=" + Processor::toString(gameMode) +
         "&device_id=" + Processor::toString(DEVICE_ID) + "&user_name=" + urlEncodeValue(playerName.c_str()) +
         "&score=" + Processor::toString(points) + "&hash=" + Processor::toString(hash);
}

void HiScoresUploader::run() {
  ScoreSubmission submission;
  submission.id = submissionId;
  submission.name = std::string(name.c_str(), static_cast<size_t>(name.length()));
  submission.score = score;
  submission.gameMode = difficulty;
  // Every character of the body is ASCII: the name's other bytes are escaped.
  const std::string body = submission.formBody();
  char length[16];
  std::snprintf(length, sizeof length, "%d", static_cast<int>(body.size()));
  std::vector<HttpTransport::Header> headers = {
      {"Content-Length", length},
      {"Content-Type", "application/x-www-form-urlencoded"},
  };
  HttpResponse reply = http->post(serverAddress.submitScoreUrl().c_str(), body, headers);

  // An empty 2xx reply is a stored score whose rank is unknown. A refusal (a 4xx) is the
  // server's word, not a connection problem: the alert gives its reason. Anything that may pass
  // keeps the submission for a later attempt with the same id.
  switch (ScoreSubmission::outcomeOf(reply)) {
    case ScoreSubmission::ACCEPTED: {
      int rank = ScoreReplyParser::parseSubmitRank(reply.body.data(), reply.body.size());
      if (rank != -1) globalHighScorePosition.store(rank, std::memory_order_relaxed);
      break;
    }
    case ScoreSubmission::REFUSED:
      requestErrorAlert(ScoreReplyParser::refusalReason(reply.body.data(), reply.body.size(), reply.status));
      break;
    case ScoreSubmission::DEFERRED:
      // An exit that cut the request short keeps it too: it may have been the last chance.
      if (outbox != nullptr && outbox->keep(submission)) {
        requestKeptAlert();
      } else if (reply.completed && !reply.succeeded()) {
        requestErrorAlert(ScoreReplyParser::refusalReason(reply.body.data(), reply.body.size(), reply.status));
      } else {
        requestErrorAlert(std::string());
      }
      break;
  }
  scoreUploaded.store(true, std::memory_order_release);
  if (wakeUp) wakeUp();
}
