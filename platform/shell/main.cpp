// Pellix: the five-in-a-row ball puzzle. Everything about the game is set on its settings
// screen; the command line only answers --help and --version, and names anything else it is
// given before showing the usage.
#include <malloc.h>

#include <cstdio>

#include "CommandLine.h"
#include "LocaleSetup.h"
#include "PellixApp.h"
#include "Resources.h"
#include "TextRasterizer.h"
#include "Translation.h"
#include "StartUpTrace.h"

int main(int argc, char** argv) {
  StartUpTrace::mark("main");
  // The start-up decodes and uploads pictures of up to a few MiB each on several threads. Blocks
  // that large are mapped and unmapped on their own, so that a freed picture is not kept
  // resident in a heap, and two heaps serve every thread (the allocator would otherwise give
  // each starting thread a heap of its own that keeps what it once held).
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_ARENA_MAX, 2);
  LocaleSetup::apply(Resources::localeDirectory());
  if (LocaleSetup::fallBackWithoutGlyphs([](const char* text) { return TextRasterizer::unknownGlyphs(text, "Helvetica", 16); }))
    std::fprintf(stderr, "Pellix speaks English: no installed font has the characters of the language chosen.\n");
  const CommandLine commandLine(argc, argv);
  switch (commandLine.action()) {
    case CommandLine::VERSION:
      std::printf("pellix %s\n", PELLIX_VERSION);
      return 0;
    case CommandLine::HELP:
      std::fputs(CommandLine::usage(), stdout);
      return 0;
    case CommandLine::REFUSE:
      std::fprintf(stderr, "pellix: %s\n%s", commandLine.problem().c_str(), CommandLine::usage());
      return 2;
    case CommandLine::PLAY:
      break;
  }
  PellixApp app;
  return app.run();
}
