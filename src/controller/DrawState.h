// DrawState: what drawing keeps from one frame to the next: the spinning score and level, the
// board image and what it was made to show, the timer strip's frame, the moment of the last
// frame and the display it was drawn for, and whether a new frame is owed. The controller owns
// one; drawing writes it, and input, actions and state switches only note that a frame is owed.
#pragma once

#include <memory>
#include <utility>

#include "SpinningNumber.h"
#include "Texture.h"

class DrawState {
 public:
  // What a board image shows: the board's picture revision, and whether the menu strip is on it
  // and pressed. An image is made again only when this differs.
  struct BoardImageKey {
    unsigned boardRevision = 0;
    bool stripShown = false;
    bool stripPressed = false;
    bool operator==(const BoardImageKey& other) const {
      return boardRevision == other.boardRevision && stripShown == other.stripShown && stripPressed == other.stripPressed;
    }
  };

  // Something visible changed outside the draw state (input, a state switch, a worker's result):
  // the next schedule asks for a frame.
  void owePicture() { pictureOwed = true; }
  bool owesPicture() const { return pictureOwed; }
  // A frame is drawn for the moment `nowMs`: the owed frame is paid.
  void beginFrame(int nowMs) {
    pictureOwed = false;
    drawnAt = nowMs;
  }
  // nowMs of the moment the last frame showed.
  int drawnAtMs() const { return drawnAt; }

  SpinningNumber& score() { return scoreShown; }
  SpinningNumber& level() { return levelShown; }
  // The last frame showed exactly this score and level: nothing spins.
  bool numbersShow(int score, int level) const { return scoreShown.shows(score) && levelShown.shows(level); }
  // A new game's numbers appear at once.
  void restartNumbers() {
    scoreShown.restart();
    levelShown.restart();
  }

  // The board image of the last frame; null before the first frame in play or after it was
  // forgotten.
  const Texture* boardImage() const { return image.get(); }
  Texture* boardImage() { return image.get(); }
  // No board image, or it shows something else than `wanted`.
  bool boardImageIsStale(const BoardImageKey& wanted) const { return !image || !(wanted == imageShows); }
  void keepBoardImage(std::unique_ptr<Texture> made, const BoardImageKey& shows) {
    image = std::move(made);
    imageShows = shows;
  }
  void forgetBoardImage() { image.reset(); }

  // The timer strip's frame (BallGraphics::timerFrame) in the last drawn frame; -1 = not drawn.
  int timerFrameShown() const { return timerFrame; }
  void showTimerFrame(int frame) { timerFrame = frame; }

  // The display generation (DisplayScale::generation) the art was last made for.
  bool drawnForDisplay(int generation) const { return displayGeneration == generation; }
  void followDisplay(int generation) { displayGeneration = generation; }

 private:
  bool pictureOwed = true;
  int drawnAt = 0;
  SpinningNumber scoreShown;
  SpinningNumber levelShown;
  std::unique_ptr<Texture> image;
  BoardImageKey imageShows;
  int timerFrame = -1;
  int displayGeneration = -1;
};
