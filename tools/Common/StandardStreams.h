// The process-wide console streams of MyTl: MyTl::cout, MyTl::cerr (text builders that print
// on a "\n" piece) and MyTl::cin. They are statics of the tools library, constructed before the
// game's own statics; use them from the main thread only.
#pragma once

#include "Cerr.h"
#include "Cin.h"
#include "Cout.h"

namespace MyTl {

extern Cout cout;
extern Cerr cerr;
extern Cin cin;

}  // namespace MyTl
