// The high-score screen: local and global views, the new entry marked, the upload.
#include "HiScoresMenu.h"

#include <cstdlib>

#include "ActivityIndicator.h"
#include "Alert.h"
#include "BlendMode.h"
#include "ControlsDelegate.h"
#include "GameScreens.h"
#include "HiScores.h"
#include "Lock.h"
#include "ScreenGeometry.h"
#include "SegmentedControl.h"
#include "Translation.h"

namespace {

const Scaling UNSCALED(1.0f, 1.0f);
const ScreenGeometry::ButtonPanel& PANEL = ScreenGeometry::HIGH_SCORES_PANEL;
const int FIRST_ROW_Y = ScreenGeometry::HIGH_SCORES_FIRST_ROW_Y;
const int ROW_PITCH = ScreenGeometry::HIGH_SCORES_ROW_PITCH;
// TRANSLATORS: shown in the high-score table's place; 160 pixels wide, 14-pixel text.
const char* const FETCH_FAILED =
    TR_NOOP("The global high scores could not be fetched from the server. Please check your internet connection.");

// The message box of the no-server sentence: wide enough for a configuration path.
const int NO_SERVER_BOX_WIDTH = 240;

}  // namespace

HiScoresMenu::HiScoresMenu(const HttpTransportFactory& makeTransport)
    : fetcher(makeTransport()), uploader(makeTransport()), sender(makeTransport()) {
  setServerAddress(ScoreServerAddress(), std::string());
  reset();
}

HiScoresMenu::~HiScoresMenu() {
  // Both threads use the outbox: they end before it goes.
  uploader.WaitForStop();
  sender.WaitForStop();
}

std::string HiScoresMenu::noServerMessage(const std::string& preferencesPath) {
  std::string shown = preferencesPath;
  const char* home = std::getenv("HOME");
  const std::string homeFolder = home != nullptr ? home : "";
  if (homeFolder.size() > 1 && shown.compare(0, homeFolder.size() + 1, homeFolder + "/") == 0)
    shown = "~" + shown.substr(homeFolder.size());
  if (shown.empty()) {
    // TRANSLATORS: %1$s is the preferences key "scores_url", which stays as it is.
    return Translation::format(tr("No high-score server is set up: name one as %1$s in the game's preferences file."),
                               ScoreServerAddress::PREFERENCE_KEY);
  }
  // TRANSLATORS: %1$s is the key "scores_url" (not translated), %2$s the preferences file's path.
  return Translation::format(tr("No high-score server is set up: name one as %1$s in %2$s."),
                             ScoreServerAddress::PREFERENCE_KEY, shown.c_str());
}

void HiScoresMenu::setServerAddress(const ScoreServerAddress& address, const std::string& preferencesPath) {
  serverAddress = address;
  fetcher.setServerAddress(address);
  uploader.setServerAddress(address);
  noServerText = noServerMessage(preferencesPath);
}

void HiScoresMenu::openOutbox(const std::string& path, const ScoreOutbox::Clock& clock) {
  if (outbox) return;
  outbox = std::make_unique<ScoreOutbox>(path, clock);
  uploader.setOutbox(outbox.get());
  sendOutbox();
}

void HiScoresMenu::sendOutbox() {
  if (outbox) sender.sendDue(*outbox, serverAddress);
}

bool HiScoresMenu::tellPlayerOfDeliveries(GameScreens& screens) {
  if (!screens.parent) return false;
  const std::vector<ScoreOutboxSender::Notice> notices = sender.takeNotices();
  if (notices.empty()) return false;
  std::string message;
  for (const ScoreOutboxSender::Notice& notice : notices) {
    if (!message.empty()) message += "\n\n";
    const int score = notice.submission.score;
    if (!notice.accepted) {
      // TRANSLATORS: %2$s is the server's reason, in English.
      message += Translation::format(tr("Your score of %1$d was not accepted by the high-score server: %2$s."), score,
                                     notice.reason.c_str());
    } else if (notice.rank != -1) {
      message += Translation::format(tr("Your score of %1$d has reached the global high scores: number %2$d."), score,
                                     notice.rank);
    } else {
      message += Translation::format(tr("Your score of %1$d has reached the global high scores."), score);
    }
  }
  deliveryAlert = std::make_shared<Ui::Alert>(tr("Global High Scores"), message, nullptr, nullptr,
                                              std::vector<std::string>{trContext("alert button", "OK")});
  deliveryAlert->show(*screens.parent);
  return true;
}

void HiScoresMenu::selectSegment(int segment) {
  if (segmentedControl) segmentedControl->setSelectedSegmentIndex(segment);
}

void HiScoresMenu::reset() {
  uploader.scoreUploaded = false;
  fetcher.scoresFetched = false;
  showLocal = true;
  uploadStarted = false;
  selectSegment(0);
}

void HiScoresMenu::startFetch() {
  // Without a server there is nothing to fetch: the view says so.
  if (!serverAddress.isSet()) return;
  // A fetch still running from before will deliver; otherwise start one for this mode.
  if (!fetcher.isRunning()) fetcher.startFetch(tableIndex);
}

void HiScoresMenu::localGlobalChange(int segment) {
  MyTl::Lock lock(menuLock);
  rowsBuilt = false;
  showLocal = segment == 0;
  if (!showLocal) startFetch();
}

void HiScoresMenu::chooseSegment(int segment) {
  if ((segment == 0) == showLocal) return;
  selectSegment(segment);
  localGlobalChange(segment);
}

void HiScoresMenu::startUpload() {
  if (!showLocal || uploadStarted || uploader.scoreUploaded || newEntry == nullptr || !serverAddress.isSet()) return;
  if (uploader.startUpload(newEntry->name, newEntry->score, tableIndex)) uploadStarted = true;
}

void HiScoresMenu::finishedShowingHighScores(HiScores& scores) {
  MyTl::Lock lock(menuLock);
  scores.lastAdded = nullptr;
  newEntry = nullptr;
  uploader.globalHighScorePosition = -1;
  // An upload still running belongs to this visit: its failure must not alert on a later one.
  uploader.dropErrorAlert();
  if (segmentedControl && shownOn != nullptr) shownOn->pendViewRemoval(segmentedControl);
  removeSpinner();
  reset();
}

HiScoresMenu::RowText HiScoresMenu::rowText(int row, const HiScore* source, int count) const {
  RowText text;
  const int position = uploader.globalHighScorePosition;
  const bool showRanks = !showLocal && newEntry != nullptr && position > ROWS;
  const bool own = !showLocal && row + 1 == (position < ROWS ? position : ROWS);
  const HiScore* entry = row < count ? &source[row] : nullptr;
  if (own && newEntry != nullptr) entry = newEntry;

  if (showRanks) {
    const int rank = !showLocal && row == ROWS - 1 && position > ROWS ? position : row + 1;
    text.name = std::to_string(rank) + ". ";
  }
  const bool shown = entry != nullptr && entry->score > 0;
  text.name += shown ? std::string(entry->name.c_str()) : "-";
  text.score = shown ? std::to_string(entry->score) : "-";

  if (showLocal) {
    // Only the first row holding the new entry is marked.
    bool earlierMatch = false;
    for (int i = 0; i < row && i < count; ++i) earlierMatch = earlierMatch || &source[i] == newEntry;
    text.emphasised = newEntry != nullptr && entry == newEntry && !earlierMatch;
    text.dimmed = newEntry != nullptr && !text.emphasised;
  } else {
    text.emphasised = own && position != -1;
    text.dimmed = position != -1 && !text.emphasised;
  }
  return text;
}

void HiScoresMenu::buildRows(GameScreens& screens, const HiScore* tableEntries) {
  const HiScore* source = showLocal ? tableEntries : fetcher.hiScores.data();
  const int count = showLocal ? ROWS : (serverAddress.isSet() ? fetcher.hiScores.size() : 0);
  messageOnly = !showLocal && count == 0;
  if (messageOnly && !serverAddress.isSet()) {
    screens.menuTexts[0] = screens.addMenuTexture(new Texture(noServerText.c_str(), NO_SERVER_BOX_WIDTH, 128,
                                                              Texture::ALIGN_CENTER, "Helvetica", 14, 0.5f, false));
  } else if (messageOnly) {
    screens.menuTexts[0] = screens.addMenuTexture(
        new Texture(tr(FETCH_FAILED), 160, 128, Texture::ALIGN_CENTER, "Helvetica", 14, 0.5f, false, true));
  } else {
    for (int row = 0; row < ROWS; ++row) {
      const RowText text = rowText(row, source, count);
      const float factor = text.dimmed ? 0.4f : 1.0f;
      const int size = text.emphasised ? 16 : 15;
      screens.menuTexts[2 * row] = screens.addMenuTexture(
          new Texture(text.name.c_str(), 110, 32, Texture::ALIGN_LEFT, "Helvetica", size, factor, false));
      screens.menuTexts[2 * row + 1] = screens.addMenuTexture(
          new Texture(text.score.c_str(), 64, 32, Texture::ALIGN_RIGHT, "Helvetica", size, factor, false));
    }
  }
  rowsBuilt = true;
}

void HiScoresMenu::drawRows(GameScreens& screens) {
  if (messageOnly) {
    // Centred across the screen, whichever box the message has.
    const float left = static_cast<float>((320 - screens.menuTexts[0]->width) / 2);
    screens.menuTexts[0]->drawToScreen(left, 184, UNSCALED, BLEND_PREMULTIPLIED, true);
    return;
  }
  const int nameLeft = (354 - screens.menuDivider->width) / 2;
  const int scoreRight = 320 - nameLeft;
  for (int row = 0; row < ROWS; ++row) {
    const float y = static_cast<float>(FIRST_ROW_Y + ROW_PITCH * row);
    Texture* name = screens.menuTexts[2 * row];
    Texture* score = screens.menuTexts[2 * row + 1];
    name->drawToScreen(static_cast<float>(nameLeft), y, UNSCALED, BLEND_PREMULTIPLIED, true);
    score->drawToScreen(static_cast<float>(scoreRight - score->width), y, UNSCALED, BLEND_PREMULTIPLIED, true);
  }
}

void HiScoresMenu::showSpinner(GameScreens& screens) {
  if (activityIndicator) return;
  activityIndicator =
      std::make_shared<Ui::ActivityIndicator>(Ui::ActivityIndicator::STYLE_WHITE, Ui::ViewRect(140, 200, 40, 40));
  activityIndicator->setHidesWhenStopped(true);
  if (screens.parent) screens.parent->addSubview(activityIndicator);
  activityIndicator->startAnimating();
}

void HiScoresMenu::removeSpinner() {
  if (!activityIndicator) return;
  activityIndicator->stopAnimating();
  activityIndicator->removeFromSuperview();
  activityIndicator.reset();
}

void HiScoresMenu::offerUpload(GameScreens& screens) {
  // Asked once per new entry with points, right after the player confirmed the name.
  if (newEntry == nullptr || newEntry == askedAbout || newEntry->score <= 0 || !screens.parent) return;
  // A name the server would refuse is not offered: the upload could only fail. Without a server
  // there is nowhere to send it.
  if (!HiScoresUploader::isSubmittableName(newEntry->name) || !serverAddress.isSet()) return;
  askedAbout = newEntry;
  if (!screens.uploadAlert) {
    screens.uploadAlert = std::make_shared<Ui::Alert>(
        tr("Submit Score"), tr("Would you like to add your score to the global high scores?"),
        screens.delegateOfControls(), trContext("alert button", "Not Now").c_str(),
        std::vector<std::string>{trContext("alert button", "OK")});
  }
  screens.uploadAlert->show(*screens.parent);
}

void HiScoresMenu::beginVisit(GameScreens& screens, HiScore* entry, int index) {
  shownOn = &screens;
  newEntry = entry;
  tableIndex = index;
  showLocal = true;
  rowsBuilt = false;
  if (!segmentedControl) {
    ControlsDelegate* delegate = screens.delegateOfControls();
    segmentedControl = std::make_shared<Ui::SegmentedControl>(
        std::vector<std::string>{trContext("high-score table", "Local"), trContext("high-score table", "Global")},
        Ui::ViewRect(ScreenGeometry::LOCAL_GLOBAL_LEFT, ScreenGeometry::LOCAL_GLOBAL_TOP, ScreenGeometry::LOCAL_GLOBAL_WIDTH,
                     ScreenGeometry::LOCAL_GLOBAL_HEIGHT));
    segmentedControl->setAction([delegate](Ui::SegmentedControl& control) {
      if (delegate != nullptr) delegate->localGlobalChange(control);
    });
  }
  selectSegment(0);
  if (screens.parent) screens.parent->addSubview(segmentedControl);
  offerUpload(screens);
  // Each visit is a chance for the submissions that could not be delivered before.
  sendOutbox();
}

bool HiScoresMenu::followWorkers(GameScreens& screens) {
  bool changed = false;
  if (uploadStarted && uploader.scoreUploaded) {
    MyTl::Lock lock(menuLock);
    // After an upload the global list, which now holds the new score, is shown.
    uploadStarted = false;
    if (showLocal) {
      showLocal = false;
      rowsBuilt = false;
      selectSegment(1);
      startFetch();
    }
    changed = true;
  }
  if (screens.parent && uploader.takeErrorAlertRequest()) {
    const HiScoresUploader::AlertTexts& texts = HiScoresUploader::errorAlertTexts();
    errorAlert = std::make_shared<Ui::Alert>(uploader.errorAlertTitle(), uploader.errorAlertMessage(), nullptr,
                                             nullptr, std::vector<std::string>{trContext("alert button", texts.button)});
    errorAlert->show(*screens.parent);
    changed = true;
  }
  // The spinner stands in for the rows while the server is asked.
  if (waitingForServer() != static_cast<bool>(activityIndicator)) {
    if (waitingForServer()) {
      showSpinner(screens);
    } else {
      removeSpinner();
    }
    changed = true;
  }
  return changed;
}

bool HiScoresMenu::globalRowsReady() const {
  return fetcher.scoresFetched.load(std::memory_order_acquire) || !serverAddress.isSet();
}

bool HiScoresMenu::waitingForServer() const { return uploadStarted || (!showLocal && !globalRowsReady()); }

int HiScoresMenu::drawHighScoresMenu(GameScreens& screens, bool bottomHighlighted, const HiScore* tableEntries) {
  const bool first = screens.justSwitched();
  if (first) screens.popBackground.reset(screens.createMenuFrame(PANEL.height, PANEL.widen));
  const char* names[] = {"HighScores", "Back"};
  const int buttonTop = screens.drawMenuWithTopAndBottomButtons(first, names, bottomHighlighted, PANEL.yOffset);

  if (!rowsBuilt && (showLocal || globalRowsReady())) buildRows(screens, tableEntries);
  if (rowsBuilt && !uploadStarted) drawRows(screens);
  return buttonTop;
}
