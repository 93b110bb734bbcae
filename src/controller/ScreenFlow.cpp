// The screen flow's steps from one screen to the next.
#include "ScreenFlow.h"

#include "GameScreens.h"

void ScreenFlow::goTo(GameState next) {
  shownTwoBack = shownBefore;
  shownBefore = shown;
  shown = next;
  focus = -1;
  viewFocus = false;
}

bool ScreenFlow::turnInstructionsPage() {
  if (page >= GameScreens::INSTRUCTION_PAGES) return false;
  ++page;
  return true;
}
