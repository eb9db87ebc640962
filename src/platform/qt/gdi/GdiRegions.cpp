// Region building for the GDI-like graphics layer.
#include "platform/qt/gdi/GdiRegions.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace ktv::gdi {

QRegion GdiRegions::rect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return {};
    return QRegion(left, top, right - left, bottom - top);
}

QRegion GdiRegions::ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return {};
    // Built row by row from pixel centres, so the result does not depend on the toolkit's
    // ellipse rasteriser and stays symmetric in both directions.
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    QRegion result;
    for (int y = top; y < bottom; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        const double t = 1.0 - dy * dy;
        if (t < 0)
            continue;
        const double half = rx * std::sqrt(t);
        const int x0 = int(std::ceil(cx - half - 0.5));
        const int x1 = int(std::floor(cx + half - 0.5));
        if (x1 >= x0)
            result += QRect(std::max(x0, left), y, std::min(x1, right - 1) - std::max(x0, left) + 1, 1);
    }
    return result;
}

QRegion GdiRegions::polygon(const std::vector<QPoint>& points)
{
    if (points.size() < 3)
        return {};
    int top = points[0].y(), bottom = points[0].y();
    for (const QPoint& p : points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    QRegion result;
    const size_t n = points.size();
    for (int y = top; y < bottom; ++y) {
        // A pixel is the integer point at its top-left corner: points on a top or left edge belong
        // to the polygon, points on a bottom or right edge do not (so a polygon tiles exactly).
        const double sy = y;
        std::vector<std::pair<double, int>> crossings;
        for (size_t i = 0; i < n; ++i) {
            const QPoint a = points[i];
            const QPoint b = points[(i + 1) % n];
            if (a.y() == b.y())
                continue;
            const bool up = b.y() < a.y();
            const double lo = std::min(a.y(), b.y()), hi = std::max(a.y(), b.y());
            if (sy < lo || sy >= hi)
                continue;
            const double x = a.x() + (sy - a.y()) * double(b.x() - a.x()) / double(b.y() - a.y());
            crossings.emplace_back(x, up ? -1 : 1);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].second;
            if (winding == 0)
                continue;
            // Points x with left <= x < right.
            const int x0 = int(std::ceil(crossings[i].first));
            const int x1 = int(std::ceil(crossings[i + 1].first)) - 1;
            if (x1 >= x0)
                result += QRect(x0, y, x1 - x0 + 1, 1);
        }
    }
    return result;
}

QRegion GdiRegions::combine(const QRegion& a, const QRegion& b, Combine mode)
{
    switch (mode) {
    case Combine::Or: return a.united(b);
    case Combine::And: return a.intersected(b);
    case Combine::Diff: return a.subtracted(b);
    case Combine::Copy: return a;
    }
    return a;
}

QRegion GdiRegions::offset(const QRegion& region, int dx, int dy) { return region.translated(dx, dy); }

QRegion GdiRegions::frame(const QRegion& region, int width, int height)
{
    if (region.isEmpty())
        return {};
    QRegion core = region;
    for (int d = 1; d <= width; ++d)
        core = core.intersected(region.translated(d, 0)).intersected(region.translated(-d, 0));
    for (int d = 1; d <= height; ++d)
        core = core.intersected(region.translated(0, d)).intersected(region.translated(0, -d));
    return region.subtracted(core);
}

} // namespace ktv::gdi
