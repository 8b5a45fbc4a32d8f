// Contact sheets of image archives: every image's patterns with its name and frame numbers.
#pragma once

#include <string_view>

#include "archive/image_list.h"
#include "base/surface.h"

namespace trakvolt {

// Draws one line of text in the sheet's tiny built-in font (3 x 5 glyphs at `scale`; letters
// are shown in capitals, characters it lacks as '?'). Returns the x after the text.
int DrawTinyText(const SurfaceView& dst, int x, int y, std::string_view text, Pixel565 color,
                 int scale = 2);

// A picture of every item: a caption "NAME WxH xN" and then each pattern, colour-keyed over
// the sheet's grey and framed, with its number below. Items without a picture say so.
Surface ContactSheet(const TImageCollection& images);

}  // namespace trakvolt
