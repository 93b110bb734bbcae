// The blend modes of the texture drawing calls (a plain int argument; only these four draw).
#pragma once

enum BlendMode {
  BLEND_ADDITIVE = 123,       // source-alpha, one
  BLEND_OPAQUE = 124,         // blending off for this quad
  BLEND_ALPHA = 125,          // source-alpha, one-minus-source-alpha
  BLEND_PREMULTIPLIED = 126,  // one, one-minus-source-alpha
};
