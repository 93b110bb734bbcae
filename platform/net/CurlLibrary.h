// CurlLibrary: libcurl, loaded the first time a high-score worker makes a request rather than when
// the game starts: most launches show the start screen long before any request, and libcurl with
// the TLS and authentication libraries under it is a good share of all the libraries the game
// would otherwise load at exec. Used by CurlHttpTransport on the workers' threads; the library,
// once loaded and set up (curl_global_init), stays until the process ends.
#pragma once

#include <curl/curl.h>

#include <string>

struct CurlLibrary {
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_perform) easyPerform = nullptr;
  decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
  decltype(&curl_easy_strerror) easyStrerror = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_slist_append) slistAppend = nullptr;
  decltype(&curl_slist_free_all) slistFreeAll = nullptr;

  // The library, loaded and set up on the first call (safe from any thread); nullptr when it
  // cannot be loaded, with the reason in `error`.
  static const CurlLibrary* get(std::string& error);
};
