// The icon generator: paints the application icon into a hicolor icon theme tree (PNG at every
// size the desktop asks for, plus a scalable SVG) and the window icon into the game's resource
// folder. Run by the build: pellix_icon_generator <app id> <icon folder> <resource folder>.
#include <cairo-svg.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "ArtCanvas.h"
#include "IconPainter.h"

namespace {

const int ICON_SIZES[] = {16, 24, 32, 48, 64, 128, 256, 512};
const int SVG_SIZE = 512;
// The window icon the game sets on its window at start-up.
const int WINDOW_ICON_SIZE = 128;

// mkdir -p for a path made of the given parts.
bool makeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0) {
      struct stat info;
      if (stat(part.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "cannot create the folder %s\n", part.c_str());
        return false;
      }
    }
    if (slash == std::string::npos) return true;
  }
}

bool pngIcon(const std::string& themeFolder, const std::string& appId, int size) {
  const std::string folder = themeFolder + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
  if (!makeFolders(folder)) return false;
  ArtCanvas canvas(size, size);
  IconPainter::paintIcon(canvas.cr(), size);
  return canvas.save(folder, appId + ".png");
}

bool svgIcon(const std::string& themeFolder, const std::string& appId) {
  const std::string folder = themeFolder + "/hicolor/scalable/apps";
  if (!makeFolders(folder)) return false;
  const std::string path = folder + "/" + appId + ".svg";
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), SVG_SIZE, SVG_SIZE);
  cairo_t* cr = cairo_create(surface);
  IconPainter::paintIcon(cr, SVG_SIZE);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  if (!ok) std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), cairo_status_to_string(cairo_surface_status(surface)));
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <app id> <icon folder> <resource folder>\n", argv[0]);
    return 2;
  }
  const std::string appId = argv[1];
  const std::string themeFolder = argv[2];
  const std::string resourceFolder = argv[3];
  bool ok = makeFolders(themeFolder) && makeFolders(resourceFolder);
  for (int size : ICON_SIZES) ok = ok && pngIcon(themeFolder, appId, size);
  ok = ok && svgIcon(themeFolder, appId);
  if (ok) {
    ArtCanvas window(WINDOW_ICON_SIZE, WINDOW_ICON_SIZE);
    IconPainter::paintIcon(window.cr(), WINDOW_ICON_SIZE);
    ok = window.save(resourceFolder, "WindowIcon_128x128.png");
  }
  return ok ? 0 : 1;
}
