// ImagePrefetcher: decodes a known list of PNG files on a worker thread while the caller loads
// them one by one, so that the start-up's image decoding (four times the pixels at 2x art) uses a
// second core. The worker takes the list from its end while the caller loads from its start; a
// file the worker has not begun is decoded by the caller itself, one it is decoding is waited for;
// a decoding is handed over once (a second load of the same file decodes it itself).
// Used by the game's Bitmap loader during the renderer's start-up generation, on the rendering
// thread: start, then any number of take calls, then finish (which joins the worker).
#pragma once

#include <string>
#include <vector>

#include "PngDecoder.h"

class ImagePrefetcher {
 public:
  // Starts decoding `paths` (duplicates are decoded once). A running prefetch is finished first.
  static void start(const std::vector<std::string>& paths);
  // The decoding of `path` if the prefetch holds it (waiting for the worker when it is busy with
  // it); false when the caller has to decode it itself.
  static bool take(const std::string& path, PngDecoder::Image& image, PngDecoder::Status& status);
  // Stops the worker after its current file, joins it and drops what was not taken.
  static void finish();
};
