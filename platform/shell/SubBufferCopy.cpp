// GLX_MESA_copy_sub_buffer, reached only when the process has loaded GLX and its context is
// current.
#include "SubBufferCopy.h"

#include <dlfcn.h>

#include <cstring>

namespace {

bool listsExtension(const char* extensions, const char* name) {
  if (extensions == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + 1, name)) {
    const bool starts = at == extensions || at[-1] == ' ';
    const bool ends = at[length] == '\0' || at[length] == ' ';
    if (starts && ends) return true;
  }
  return false;
}

}  // namespace

bool SubBufferCopy::prepare() {
  copySubBuffer = nullptr;
  // Not loaded: the context is EGL's.
  void* library = dlopen("libGL.so.1", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return false;
  const auto currentContext = reinterpret_cast<void* (*)()>(dlsym(library, "glXGetCurrentContext"));
  const auto currentDisplay = reinterpret_cast<void* (*)()>(dlsym(library, "glXGetCurrentDisplay"));
  const auto currentDrawable = reinterpret_cast<unsigned long (*)()>(dlsym(library, "glXGetCurrentDrawable"));
  const auto queryExtensions = reinterpret_cast<const char* (*)(void*, int)>(dlsym(library, "glXQueryExtensionsString"));
  const auto procAddress = reinterpret_cast<void* (*)(const unsigned char*)>(dlsym(library, "glXGetProcAddressARB"));
  if (currentContext != nullptr && currentDisplay != nullptr && currentDrawable != nullptr &&
      queryExtensions != nullptr && procAddress != nullptr && currentContext() != nullptr) {
    display = currentDisplay();
    drawable = currentDrawable();
    // GLX names extensions per screen; the window is on the display's default one.
    int screen = 0;
    if (void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD)) {
      if (const auto defaultScreen = reinterpret_cast<int (*)(void*)>(dlsym(xlib, "XDefaultScreen")))
        screen = defaultScreen(display);
      dlclose(xlib);
    }
    if (display != nullptr && drawable != 0 && listsExtension(queryExtensions(display, screen), "GLX_MESA_copy_sub_buffer")) {
      copySubBuffer = reinterpret_cast<void (*)(void*, unsigned long, int, int, int, int)>(
          procAddress(reinterpret_cast<const unsigned char*>("glXCopySubBufferMESA")));
    }
  }
  // The handle only counted one more use of the library already loaded.
  dlclose(library);
  return copySubBuffer != nullptr;
}

void SubBufferCopy::copy(int x, int y, int width, int height) const {
  if (copySubBuffer != nullptr && width > 0 && height > 0) copySubBuffer(display, drawable, x, y, width, height);
}
