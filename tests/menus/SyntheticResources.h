// SyntheticResources: while it exists, the game loads its images from a private copy of the
// generated resource folder in which a test has replaced some images with pictures whose
// pixels say where they came from (a coordinate or a frame number). Destroying it points the
// game back at the generated folder. A test makes one on the stack around the code that loads
// the images; only one may exist at a time.
#pragma once

#include <functional>
#include <string>

#include "TestImageFiles.h"

class SyntheticResources {
 public:
  SyntheticResources();
  ~SyntheticResources();
  SyntheticResources(const SyntheticResources&) = delete;
  SyntheticResources& operator=(const SyntheticResources&) = delete;

  // Replaces image `name` by a w x h RGBA picture; paint(x, y) returns 0xAARRGGBB.
  void replace(const std::string& name, int w, int h, const std::function<unsigned(int, int)>& paint);

 private:
  TestImageFiles files;
};
