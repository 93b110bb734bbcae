// HiScoresUploader: the worker thread that submits one score to the high-score server and
// learns its global rank. Owned by the high-score screen, which starts it (startUpload, only
// while it is not running), polls `scoreUploaded` while it draws and reads
// `globalHighScorePosition` after it has seen the flag set.
//
// A failed upload asks for the "Error Uploading" alert. Alerts belong to the main thread, so the
// thread only sets `errorAlertPending` (before `scoreUploaded`); the screen takes the request
// with takeErrorAlertRequest() and shows errorAlertTexts(). A request ends within its time-outs;
// destroying the uploader cancels a running request and waits for the thread.
#pragma once

#include <atomic>

#include "HttpClient.h"
#include "String.h"
#include "Thread.h"

class HiScoresUploader : public MyTl::Thread {
 public:
  // The texts of the alert shown after a failed upload.
  struct AlertTexts {
    const char* title;
    const char* message;
    const char* button;
  };
  static const AlertTexts& errorAlertTexts();

  HiScoresUploader();
  ~HiScoresUploader() override;

  // Starts the submission of {playerName, points} in game mode `gameMode` (the high-score table
  // index) unless one is running: copies them, sets `globalHighScorePosition` to -1, clears
  // `scoreUploaded`, starts the thread. Returns false (and changes nothing) while an upload
  // runs. Main thread only.
  bool startUpload(const MyTl::BasicString<char>& playerName, int points, int gameMode);

  // Whether the thread is between start and the end of run().
  bool isRunning() const { return started.load(); }

  // True once if a failed upload asked for the error alert since the last call: the caller
  // (main thread) shows the alert.
  bool takeErrorAlertRequest() { return errorAlertPending.exchange(false, std::memory_order_acq_rel); }

  // The submission (set by the starter while the thread is not running).
  MyTl::BasicString<char> name;
  int score = 0;
  int difficulty = 0;
  // The rank the server gave the score (1 = best); -1 until a rank has been read. Atomic
  // because the screen may reset it while an upload is still going.
  std::atomic<int> globalHighScorePosition{-1};
  // Set when an upload attempt has ended, successfully or not.
  std::atomic<bool> scoreUploaded{false};
  // Set by a failed upload; cleared by takeErrorAlertRequest.
  std::atomic<bool> errorAlertPending{false};

  // The form body of a submission: game_id, game_mode, device_id, the escaped user_name,
  // score and the checksum over the raw name.
  static MyTl::BasicString<char> formBody(const MyTl::BasicString<char>& playerName, int points, int gameMode);

 protected:
  // One upload, then the thread ends.
  void run() override;

 private:
  HttpClient http;
};
