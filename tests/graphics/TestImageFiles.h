// Writes small image files for the graphics tests into a private temporary folder: PNGs with and
// without alpha, and damaged files. The folder is removed when the object goes away.
#pragma once

#include <functional>
#include <string>

#include "TempFolder.h"

class TestImageFiles {
 public:
  TestImageFiles();
  ~TestImageFiles();
  TestImageFiles(const TestImageFiles&) = delete;
  TestImageFiles& operator=(const TestImageFiles&) = delete;

  const std::string& folder() const { return path; }
  // An RGBA PNG of w x h whose pixel (x, y) gets the straight-alpha colour paint(x, y) returns
  // as 0xAARRGGBB.
  void writeRgba(const std::string& name, int w, int h, const std::function<unsigned(int, int)>& paint) const;
  // An opaque PNG without alpha channel.
  void writeRgb(const std::string& name, int w, int h) const;
  void writeBytes(const std::string& name, const std::string& bytes) const;
  // Copies every file of `source` into this folder.
  void copyFrom(const std::string& source) const;

 private:
  TempFolder files;
  std::string path;  // files' path
};
