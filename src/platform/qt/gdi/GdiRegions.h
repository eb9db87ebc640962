// Region building for the GDI-like graphics layer: rectangles, ellipses, winding polygons,
// combining and offsetting, with the edge rules the button painter relies on.
#pragma once

#include <QPoint>
#include <QRegion>
#include <vector>

namespace ktv::gdi {

enum class Combine { Or, And, Diff, Copy };

class GdiRegions {
public:
    // The pixels x in [left, right) and y in [top, bottom): right and bottom are outside.
    static QRegion rect(int left, int top, int right, int bottom);
    // The ellipse inscribed in the box [left, right) x [top, bottom).
    static QRegion ellipse(int left, int top, int right, int bottom);
    // A polygon filled with the winding rule; a pixel belongs to it when its top-left point lies
    // inside or on a top or left edge.
    static QRegion polygon(const std::vector<QPoint>& points);
    // a combined with b; Copy gives a copy of a.
    static QRegion combine(const QRegion& a, const QRegion& b, Combine mode);
    static QRegion offset(const QRegion& region, int dx, int dy);
    // The border of a region: every pixel of it closer than width (across) or height (down) to a
    // pixel outside it.
    static QRegion frame(const QRegion& region, int width, int height);
};

} // namespace ktv::gdi
