// The picture that stands in for an image input when no PNG is given for it.
#pragma once

#include "image.h"

namespace render {

// Red rises from left to right and green from bottom to top, both from 0 to
// 255 across the picture; blue is a checkerboard of 16-pixel squares, 255 in
// the lower left square; alpha is 255. No two columns and no two rows are
// alike, so a flipped or shifted lookup shows in the rendered frame.
RgbaImage make_test_pattern(int width, int height);

}  // namespace render
