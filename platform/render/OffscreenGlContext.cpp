// EGL surfaceless context creation for the headless harness.
#include "OffscreenGlContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "Gl.h"

namespace {

void* loadProc(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace

OffscreenGlContext::~OffscreenGlContext() {
  if (display == nullptr) return;
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context != nullptr) eglDestroyContext(display, context);
  // The display stays initialised: EGL displays are shared per process, and terminating one
  // would pull it from under any other harness context still alive.
}

bool OffscreenGlContext::create(Api api) {
  chosenApi = api;
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    lastError = "EGL has no eglGetPlatformDisplayEXT";
    return false;
  }
  EGLDisplay dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0;
  EGLint minor = 0;
  if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, &major, &minor)) {
    lastError = "cannot initialise the surfaceless EGL display";
    return false;
  }
  display = dpy;

  const bool es = api == OPENGL_ES_1;
  if (!eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
    lastError = "EGL cannot bind the requested API";
    return false;
  }
  const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, es ? EGL_OPENGL_ES_BIT : EGL_OPENGL_BIT,
                                     EGL_SURFACE_TYPE, 0, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(dpy, configAttributes, &config, 1, &count) || count == 0) config = nullptr;
  const EGLint esAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
  const EGLint glAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1, EGL_NONE};
  context = eglCreateContext(dpy, config, EGL_NO_CONTEXT, es ? esAttributes : glAttributes);
  if (context == EGL_NO_CONTEXT) {
    context = nullptr;
    lastError = "EGL cannot create the context";
    return false;
  }
  if (!eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    lastError = "EGL cannot make the context current without a surface";
    return false;
  }
  if (!Gl::load(loadProc, &lastError)) return false;
  return true;
}
