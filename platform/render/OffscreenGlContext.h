// A GL context without any window, for tests and benchmarks: EGL on Mesa's surfaceless platform
// (llvmpipe renders on the CPU, so no display or GPU is needed). The game's own drawing then goes
// into an OffscreenFrame exactly as in the window. Owned by the test fixture that creates it;
// current on the creating thread from create() until destruction.
#pragma once

#include <string>

class OffscreenGlContext {
 public:
  enum Api { OPENGL_ES_1, OPENGL_2 };

  OffscreenGlContext() = default;
  ~OffscreenGlContext();
  OffscreenGlContext(const OffscreenGlContext&) = delete;
  OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

  // Creates a context of the given API, makes it current and loads the GL table (Gl::load).
  // Returns false with a reason in error() when EGL or the API is not available.
  bool create(Api api);
  const std::string& error() const { return lastError; }
  Api api() const { return chosenApi; }

 private:
  void* display = nullptr;
  void* context = nullptr;
  Api chosenApi = OPENGL_ES_1;
  std::string lastError;
};
