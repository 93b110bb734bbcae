// The shared texture handle of the game: single-threaded, reference counted.
#pragma once

#include "ReferenceCounter.h"
#include "SharedPointerST.h"
#include "Texture.h"

using TexturePtr = MyTl::SharedPointerST<Texture, MyTl::ReferenceCounter<Texture> >;
