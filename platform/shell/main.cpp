// Pellix: the five-in-a-row ball puzzle. Everything about the game is set on its settings
// screen; the command line only answers --help and --version.
#include <malloc.h>

#include <cstdio>
#include <cstring>

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
  if (argc > 1) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
      std::printf("pellix %s\n", PELLIX_VERSION);
      return 0;
    }
    const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
    std::fprintf(help ? stdout : stderr, "%s",
                 tr("Usage: pellix [--help | --version]\n"
                    "Pellix, the five-in-a-row ball puzzle. The game keeps its settings, the game in\n"
                    "progress and the high scores in $XDG_DATA_HOME/pellix/. The high-score server is\n"
                    "named by PELLIX_SCORES_URL, else by scores_url in $XDG_CONFIG_HOME/pellix/preferences.\n"
                    "Keys and files: man 6 pellix.\n"));
    return help ? 0 : 2;
  }
  PellixApp app;
  return app.run();
}
