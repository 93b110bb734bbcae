// A resource folder with some images replaced by coded pictures.
#include "SyntheticResources.h"

#include "RenderHarness.h"
#include "Resources.h"

SyntheticResources::SyntheticResources() {
  files.copyFrom(generatedResourceFolder());
  Resources::setDirectory(files.folder());
}

SyntheticResources::~SyntheticResources() { Resources::setDirectory(generatedResourceFolder()); }

void SyntheticResources::replace(const std::string& name, int w, int h,
                                 const std::function<unsigned(int, int)>& paint) {
  files.writeRgba(name, w, h, paint);
}
