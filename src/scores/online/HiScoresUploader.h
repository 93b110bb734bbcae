// HiScoresUploader: the worker thread that submits one score to the high-score server and
// learns its global rank. Owned by the high-score screen, which starts it (startUpload, only
// while it is not running), polls `scoreUploaded` while it draws and reads
// `globalHighScorePosition` after it has seen the flag set.
//
// Every submission gets a random id when it is started (see ScoreSubmission). An upload that
// fails for a reason that may pass (no connection, time-out, 5xx, 429) goes to the outbox, when
// the screen gave one, and is sent again later with the same id; the player is told that it
// will be sent. A failed upload asks for an alert. Alerts belong to the main thread, so the
// thread only sets `errorAlertPending` (before `scoreUploaded`); the screen takes the request
// with takeErrorAlertRequest() and shows errorAlertTitle() with errorAlertMessage(): a refusal
// by the server gives its reason, a kept upload says it will be sent, and only an upload that
// could not even be kept blames the connection. The screen calls
// dropErrorAlert() when it goes away, so that an upload ending later never alerts on another
// visit. A request ends within its time-outs; destroying the uploader cancels a running request
// and waits for the thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "HttpTransport.h"
#include "ScoreServerAddress.h"
#include "String.h"
#include "Thread.h"

class ScoreOutbox;

class HiScoresUploader : public MyTl::Thread {
 public:
  // The texts of the alert shown after a failed upload.
  // The alert's texts in English, as marked for translation; shown through tr() (the button with
  // the context "alert button").
  struct AlertTexts {
    const char* title;
    const char* message;
    const char* button;
  };
  static const AlertTexts& errorAlertTexts();
  // The alert's texts after an upload that went to the outbox.
  static const AlertTexts& keptAlertTexts();

  // Requests go through `transport`, which the worker owns from now on.
  explicit HiScoresUploader(std::unique_ptr<HttpTransport> transport);
  ~HiScoresUploader() override;

  // Starts the submission of {playerName, points} in game mode `gameMode` (the high-score table
  // index) unless one is running: copies them, sets `globalHighScorePosition` to -1, clears
  // `scoreUploaded`, starts the thread. Returns false (and changes nothing) while an upload
  // runs. Main thread only.
  bool startUpload(const MyTl::BasicString<char>& playerName, int points, int gameMode);

  // Whether the thread is between start and the end of run().
  bool isRunning() const { return started.load(); }
  // What the thread calls as its last step, once the result is in place, so that a main loop
  // asleep until the next input wakes and shows it; must be safe to call from any thread. Set
  // while no thread runs (the screen sets it once); none at first.
  void setWakeUp(std::function<void()> wake) { wakeUp = std::move(wake); }

  // True once if a failed upload asked for the error alert since the last call: the caller
  // (main thread) shows the alert.
  bool takeErrorAlertRequest();
  // The alert's title and message for the last failed upload (main thread, after
  // takeErrorAlertRequest).
  std::string errorAlertTitle() const;
  std::string errorAlertMessage() const;
  // Where submissions go, and the outbox that keeps those that could not be delivered (none:
  // a failed upload is lost). Set while no upload runs; the outbox must outlive the uploader.
  void setServerAddress(const ScoreServerAddress& address) { serverAddress = address; }
  void setOutbox(ScoreOutbox* keeper) { outbox = keeper; }
  // Forgets a pending alert and keeps the running upload, if any, from asking for one: the
  // screen it belonged to is gone. Main thread.
  void dropErrorAlert();

  // Whether the server takes `playerName` at all: not empty, at most 255 bytes of valid UTF-8,
  // no comma, line break or other control character. Other names are never offered for upload.
  static bool isSubmittableName(const MyTl::BasicString<char>& playerName);
  // The alert's message when the server refused a submission for `reason` (its one-line reply).
  static std::string refusalMessage(const std::string& reason);

  // The submission (set by the starter while the thread is not running).
  MyTl::BasicString<char> name;
  int score = 0;
  int difficulty = 0;
  // The random id of the running (or last) submission.
  std::string submissionId;
  // The rank the server gave the score (1 = best); -1 until a rank has been read. Atomic
  // because the screen may reset it while an upload is still going.
  std::atomic<int> globalHighScorePosition{-1};
  // Set when an upload attempt has ended, successfully or not.
  std::atomic<bool> scoreUploaded{false};
  // Set by a failed upload; cleared by takeErrorAlertRequest and dropErrorAlert.
  std::atomic<bool> errorAlertPending{false};

  // The form body of a submission: game_id, game_mode, device_id, the escaped user_name,
  // score and the checksum over the raw name.
  static MyTl::BasicString<char> formBody(const MyTl::BasicString<char>& playerName, int points, int gameMode);

 protected:
  // One upload, then the thread ends.
  void run() override;

 private:
  std::function<void()> wakeUp;
  // Called by run() when the upload failed; `refusal` is the server's reason, empty when no
  // reply came.
  void requestErrorAlert(const std::string& refusal);
  // Called by run() when the upload went to the outbox.
  void requestKeptAlert();
  ScoreServerAddress serverAddress;
  ScoreOutbox* outbox = nullptr;

  std::unique_ptr<HttpTransport> http;
  // Guards the hand-over of a failed upload's alert between the thread and the screen.
  mutable std::mutex alertLock;
  bool alertWanted = false;      // the screen that started the upload is still up
  std::string failureTitle;      // the title of the pending alert
  std::string failureMessage;    // the message of the pending alert
};
