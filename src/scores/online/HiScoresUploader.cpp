// The score submission.
#include "HiScoresUploader.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ScoreChecksum.h"
#include "ScoreReplyParser.h"
#include "ScoreServerAddress.h"
#include "StringProcessor.h"
#include "UrlEncodeValue.h"

using Text = MyTl::BasicString<char>;
using Processor = MyTl::StringProcessor<char>;

namespace {

// The constants every submission sends.
const int GAME_ID = 0;
const int DEVICE_ID = 0;

}  // namespace

const HiScoresUploader::AlertTexts& HiScoresUploader::errorAlertTexts() {
  static const AlertTexts texts = {
      "Error Uploading",
      "There was an error uploading your high score.\n\nPlease check your internet connection.",
      "Ok",
  };
  return texts;
}

HiScoresUploader::HiScoresUploader() : MyTl::Thread("HiScoresUploader") {
  // A running request gives up as soon as the owner asks the thread to stop (at exit).
  http.setCancelCheck([this] { return stopPending.load(); });
}

HiScoresUploader::~HiScoresUploader() {
  // run() uses the members: wait here, before they are destroyed.
  WaitForStop();
}

bool HiScoresUploader::startUpload(const Text& playerName, int points, int gameMode) {
  if (isRunning()) return false;
  name = playerName;
  score = points;
  difficulty = gameMode;
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
  // Every character of the body is ASCII: the name's other bytes are escaped.
  Text body = formBody(name, score, difficulty);
  char length[16];
  std::snprintf(length, sizeof length, "%d", body.length());
  std::vector<HttpClient::Header> headers = {
      {"Content-Length", length},
      {"Content-Type", "application/x-www-form-urlencoded"},
  };
  HttpResponse reply = http.post(ScoreServerAddress::submitScoreUrl().c_str(),
                                 std::string(body.c_str(), static_cast<size_t>(body.length())), headers);

  // A refusal (a 4xx or 5xx status) or an empty reply is a failed upload too: no rank came back.
  if (reply.succeeded() && !reply.body.empty()) {
    int rank = ScoreReplyParser::parseSubmitRank(reply.body.data(), reply.body.size());
    if (rank != -1) globalHighScorePosition.store(rank, std::memory_order_relaxed);
  } else {
    errorAlertPending.store(true, std::memory_order_relaxed);
  }
  scoreUploaded.store(true, std::memory_order_release);
}
