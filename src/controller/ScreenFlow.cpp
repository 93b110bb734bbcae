// The screen flow's steps from one screen to the next.
#include "ScreenFlow.h"

void ScreenFlow::goTo(GameState next) {
  shownTwoBack = shownBefore;
  shownBefore = shown;
  shown = next;
  focus = -1;
  viewFocus = false;
}

bool ScreenFlow::turnInstructionsPage() {
  if (page >= INSTRUCTIONS_PAGES) return false;
  ++page;
  return true;
}
