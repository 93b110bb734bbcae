# Every library the build looks up, once, for the whole tree. Each is an imported target named
# after the library (PkgConfig::PELLIX_CAIRO, GTest::gtest, ...) that the folders link as they
# need. The game, the generators and the server need only the first group; GoogleTest, the X
# test libraries and Google Benchmark are looked up only when the tests or benchmarks are built.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# The game, its art and sound generators and the platform layer.
pkg_check_modules(PELLIX_SDL2 REQUIRED IMPORTED_TARGET sdl2)
# The shell asks a Wayland compositor for its seat before SDL starts on it.
pkg_check_modules(PELLIX_WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_check_modules(PELLIX_EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(PELLIX_CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PELLIX_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(PELLIX_PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(PELLIX_OPENAL REQUIRED IMPORTED_TARGET openal)
pkg_check_modules(PELLIX_SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(PELLIX_CURL REQUIRED IMPORTED_TARGET libcurl)

# The high-score server: libmicrohttpd (with GnuTLS) over SQLite or PostgreSQL. cpp-httplib is the HTTP client
# of the server's tests and load benchmark, and the fake servers of the client's tests.
pkg_check_modules(PELLIX_MICROHTTPD REQUIRED IMPORTED_TARGET libmicrohttpd)
# The server's own TLS: libmicrohttpd's handshakes, with certificates loaded through GnuTLS.
pkg_check_modules(PELLIX_GNUTLS REQUIRED IMPORTED_TARGET gnutls)
pkg_check_modules(PELLIX_LIBPQ REQUIRED IMPORTED_TARGET libpq)
pkg_check_modules(PELLIX_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
find_package(SQLite3 REQUIRED)

if(PELLIX_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  # The end-to-end tests drive the game on a virtual X server through XTest and count the
  # frames it shows through the damage extension.
  find_package(X11 REQUIRED)
  if(NOT TARGET X11::Xtst)
    message(FATAL_ERROR "The end-to-end tests need the XTest library (libxtst-dev).")
  endif()
  if(NOT TARGET X11::Xdamage)
    message(FATAL_ERROR "The end-to-end tests need the X damage library (libxdamage-dev).")
  endif()
endif()

if(PELLIX_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
