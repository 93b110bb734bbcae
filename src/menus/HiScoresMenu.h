// HiScoresMenu: the high-score screen. Shows the ten best scores of the mode just played, from
// the local table or from the high-score server, marks the player's new entry, offers to submit
// a new entry to the global table, and follows the network workers. Owned by the controller, which
// calls beginVisit when the screen opens, followWorkers on every frame tick and the drawing on
// every frame while it is up, and finishedShowingHighScores when it leaves. Main thread only; the
// workers only set their flags.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "HiScoresFetcher.h"
#include "HiScoresUploader.h"
#include "Mutex.h"
#include "ScoreOutbox.h"
#include "ScoreOutboxSender.h"
#include "ScoreServerAddress.h"

class GameScreens;
class HiScores;
struct HiScore;
class Texture;

namespace Ui {
class ActivityIndicator;
class Alert;
class SegmentedControl;
}  // namespace Ui

class HiScoresMenu {
 public:
  static constexpr int ROWS = 10;

  // The fetch, upload and outbox workers get a transport each from `makeTransport`, called now.
  explicit HiScoresMenu(const HttpTransportFactory& makeTransport);
  ~HiScoresMenu();

  // Back to the local view with no upload pending.
  void reset();
  // The controller opens the screen over `screens` for the local table `tableIndex`, with
  // `newEntry` the player's new entry in it (null for none): the local view, the local/global
  // control, the upload question for a new entry, and another try of the outbox.
  void beginVisit(GameScreens& screens, HiScore* newEntry, int tableIndex);
  // The frame tick's part while the screen is up: after an upload the global view, after a
  // failed one its alert, and the spinner while the server is asked. True when the screen
  // changed.
  bool followWorkers(GameScreens& screens);
  // Draws the screen through `screens`; returns the top of the "Back" button. `tableEntries` are
  // the first entries of the local table the visit began with (at least ten).
  int drawHighScoresMenu(GameScreens& screens, bool bottomHighlighted, const HiScore* tableEntries);
  // Called when the controller leaves the screen.
  void finishedShowingHighScores(HiScores& scores);
  // The local/global control changed to `segment` (0 local, 1 global).
  void localGlobalChange(int segment);
  // The keyboard chose `segment` (0 local, 1 global): the control shows it and the view follows.
  void chooseSegment(int segment);
  // Submits the new entry to the global table (the upload question's "OK").
  void startUpload();
  // What the fetch and upload workers call from their threads when they end (see
  // HiScoresFetcher::setWakeUp). Set before the screen is first shown.
  void setWorkerWakeUp(const std::function<void()>& wake) {
    fetcher.setWakeUp(wake);
    uploader.setWakeUp(wake);
    sender.setWakeUp(wake);
  }
  // Where the global high scores are; `preferencesPath` is the file the player names a server
  // in, quoted when none is set up. Without a server the global view says so and nothing is
  // offered for upload. Set before the screen is first shown.
  void setServerAddress(const ScoreServerAddress& address, const std::string& preferencesPath);
  // Keeps the submissions that could not be delivered in the outbox file at `path` (empty:
  // for this run only), with the time from `clock`, and sends those that are due. Called once
  // at launch; without it a failed upload is lost.
  void openOutbox(const std::string& path, const ScoreOutbox::Clock& clock);
  // Sends the outbox's due submissions again unless a sending runs (launch, each visit).
  void sendOutbox();
  // Shows what became of submissions sent from the outbox (their ranks, refusals) in one alert
  // over `screens`; true when it showed one. Called by the controller on every frame tick.
  bool tellPlayerOfDeliveries(GameScreens& screens);
  // The global view's sentence when no server is set up, naming `preferencesPath` (with the
  // home folder as ~).
  static std::string noServerMessage(const std::string& preferencesPath);

  // The texts of one row as the screen shows them.
  struct RowText {
    std::string name;
    std::string score;
    bool emphasised = false;  // drawn brighter and larger
    bool dimmed = false;      // drawn at 0.4
  };
  // Row i (0-based) of the current view.
  RowText rowText(int row, const HiScore* source, int count) const;

  std::shared_ptr<Ui::SegmentedControl> segmentedControl;
  std::shared_ptr<Ui::ActivityIndicator> activityIndicator;
  bool showLocal = true;
  bool rowsBuilt = false;
  HiScoresFetcher fetcher;
  HiScoresUploader uploader;
  ScoreOutboxSender sender;
  HiScore* newEntry = nullptr;
  bool uploadStarted = false;
  MyTl::Mutex menuLock;
  int tableIndex = 0;

 private:
  void startFetch();
  void buildRows(GameScreens& screens, const HiScore* tableEntries);
  void drawRows(GameScreens& screens);
  // Whether the global rows are here (or there is no server to ask).
  bool globalRowsReady() const;
  // Whether a fetch or an upload that the screen waits for runs.
  bool waitingForServer() const;
  void showSpinner(GameScreens& screens);
  void removeSpinner();
  void offerUpload(GameScreens& screens);
  void selectSegment(int segment);

  GameScreens* shownOn = nullptr;
  // The entry the upload question was asked for, so that it is asked once.
  const HiScore* askedAbout = nullptr;
  std::shared_ptr<Ui::Alert> errorAlert;
  std::shared_ptr<Ui::Alert> deliveryAlert;
  bool messageOnly = false;
  ScoreServerAddress serverAddress;
  std::string noServerText;
  // Made by openOutbox; the uploader and the sender point to it and are stopped before it goes.
  std::unique_ptr<ScoreOutbox> outbox;
};
