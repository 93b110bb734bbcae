// Loading libcurl with dlopen on first use.
#include "CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace {

// libcurl's run-time name; its ABI has kept this version since 2006.
const char* const CURL_SONAME = "libcurl.so.4";

struct Loaded {
  CurlLibrary functions;
  bool ready = false;
  std::string error;
};

template <typename Function>
bool resolve(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

Loaded load() {
  Loaded loaded;
  void* handle = dlopen(CURL_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    loaded.error = std::string("cannot load ") + CURL_SONAME + (reason != nullptr ? std::string(": ") + reason : "");
    return loaded;
  }
  CurlLibrary& f = loaded.functions;
  decltype(&curl_global_init) globalInit = nullptr;
  const bool complete = resolve(handle, "curl_global_init", globalInit) && resolve(handle, "curl_easy_init", f.easyInit) &&
                        resolve(handle, "curl_easy_setopt", f.easySetopt) &&
                        resolve(handle, "curl_easy_perform", f.easyPerform) &&
                        resolve(handle, "curl_easy_getinfo", f.easyGetinfo) &&
                        resolve(handle, "curl_easy_strerror", f.easyStrerror) &&
                        resolve(handle, "curl_easy_cleanup", f.easyCleanup) &&
                        resolve(handle, "curl_slist_append", f.slistAppend) &&
                        resolve(handle, "curl_slist_free_all", f.slistFreeAll);
  if (!complete) {
    loaded.error = std::string(CURL_SONAME) + " lacks a function the game uses";
    return loaded;
  }
  // Not safe to run from two threads at once; this runs once, under the caller's once flag.
  if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    loaded.error = "libcurl could not be set up";
    return loaded;
  }
  loaded.ready = true;
  return loaded;
}

}  // namespace

const CurlLibrary* CurlLibrary::get(std::string& error) {
  static std::once_flag once;
  static Loaded loaded;
  std::call_once(once, [] { loaded = load(); });
  if (!loaded.ready) {
    error = loaded.error;
    return nullptr;
  }
  return &loaded.functions;
}
