// Pellix: the five-in-a-row ball puzzle. Takes no command-line options.
#include "PellixApp.h"

int main() {
  PellixApp app;
  return app.run();
}
