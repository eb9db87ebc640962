// Pictures for the gallery's button page, drawn at run time so the gallery needs no image files:
// magenta-keyed bitmaps (transparent background, custom shapes) and an icon with its own alpha.
#pragma once

#include <QImage>

namespace ktv::gallery {

// The key colour of the gallery's bitmaps: their top-left pixel, left out when drawn.
inline constexpr QRgb kMagentaKey = 0xFFFF00FFu;

// A square bitmap on a magenta background: a green disc with a dark rim and a white check mark.
QImage keyedDiscBitmap(int size);
// A square icon with its own transparency: a yellow star with a dark outline; its top-left
// pixel is fully transparent, not a key colour.
QImage starIcon(int size);
// The outline of a custom-shaped button: a right-pointing arrow on magenta.
QImage arrowShapeBitmap(int width, int height);
// The outline of a custom-shaped button: a rounded tab with a round hole, on magenta.
QImage tabShapeBitmap(int width, int height);

} // namespace ktv::gallery
