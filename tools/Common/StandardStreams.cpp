// The process-wide console stream objects.
#include "StandardStreams.h"

namespace MyTl {

// Constructed ahead of ordinary statics, so that the game's statics may print while they are
// constructed or destroyed.
__attribute__((init_priority(200))) Cout cout;
__attribute__((init_priority(200))) Cerr cerr;
__attribute__((init_priority(200))) Cin cin;

}  // namespace MyTl
