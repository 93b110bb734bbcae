// Contract checks of the tools library and the game. A broken contract is a programming error:
// the program stops with the condition text and the name of the source that states it, in every
// build type (these checks are never compiled out).
#pragma once

namespace MyTl {

[[noreturn]] void assertionFailed(const char* condition, const char* source, int line);

}  // namespace MyTl

// MYTL_ASSERT(condition, "Source"): stops the program when condition is false.
#define MYTL_ASSERT(condition, source) \
  ((condition) ? static_cast<void>(0) : ::MyTl::assertionFailed(#condition, source, __LINE__))
