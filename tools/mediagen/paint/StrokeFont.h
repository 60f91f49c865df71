#pragma once
// Capital letters drawn as strokes, for titles painted by the generator.

#include <string_view>
#include <vector>

#include "paint/Canvas.h"

namespace paint {

// Writes `text` with its top-left corner at (x, y), letters `height` pixels high; `tracking`
// is the gap between letters as a share of the height. Letters without a shape leave a gap.
void DrawTitle(Canvas& canvas, std::string_view text, float x, float y, float height, float tracking,
               float strokeWidth, Rgb colour, float alpha);
// The width DrawTitle takes for `text`.
float TitleWidth(std::string_view text, float height, float tracking);

}  // namespace paint
