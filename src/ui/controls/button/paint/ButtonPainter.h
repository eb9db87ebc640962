// The painter of qvButtons_H: one redraw of the whole button onto its off-screen surface, the
// window shape, and the paint pipeline the style painters share. Pure: the widget fills a
// ButtonPaintState, keeps a ButtonResources, and copies the finished image to its window.
#pragma once

#include "ui/controls/button/paint/ButtonColors.h"
#include "ui/controls/button/paint/ButtonPaintState.h"
#include "ui/controls/button/paint/ButtonResources.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

namespace ktv {

// The result of one redraw.
struct ButtonRedraw {
    // The finished client image (surface plus shape frame), to be copied to the window in one go.
    // Null when there was nothing to paint (delay drawing or paint code 0 without a move).
    QImage image;
    // The window must move by this much in its container (CustomClick press and release).
    QPoint moveBy;
    button::PaintCode paintCode = button::PaintCode::Nothing;
};

// The result of a region build.
struct ButtonShape {
    QRegion windowShape; // to hand to the window as its mask
    QSize size;          // the client size the button must take (grown for shapes 1-3, fitted for 7 and 8)
};

// The colours of one ring of edge lines, side by side; a side without a colour is not drawn.
struct EdgeRing {
    std::optional<PaintColor> left, top, right, bottom;

    // All four sides in one colour.
    static constexpr EdgeRing all(PaintColor c) { return {c, c, c, c}; }
    // Left and top in one colour, right and bottom in another (a raised or sunken bevel).
    static constexpr EdgeRing bevel(std::optional<PaintColor> leftTop, std::optional<PaintColor> rightBottom)
    {
        return {leftTop, leftTop, rightBottom, rightBottom};
    }
};

// The edge colours of one redraw: three rings, innermost first. The bottom of the outer ring is
// also the frame colour of the ellipses and custom shapes.
struct EdgeColors {
    EdgeRing inner, middle, outer;
};

// The corner points of the three rings (five each, innermost first) of one redraw.
using EdgePoints = std::array<QPoint, 16>;

class ButtonPainter {
public:
    // Paints the whole button. Caches in res are rebuilt when their inputs in state changed.
    static ButtonRedraw RedrawButton(const ButtonPaintState& state, ButtonResources& res);
    // Rebuilds the window shape, the shape and inner regions and the left cut and right limit.
    static ButtonShape BuildRegions(const ButtonPaintState& state, ButtonResources& res);
    // Rebuilds "Font", "Picture" or "BackColor" (case-insensitive); other names do nothing.
    static void RefreshResources(const ButtonPaintState& state, ButtonResources& res, const QString& name);

    ButtonPainter(const ButtonPaintState& state, ButtonResources& res);

    // Pipeline steps (public for the style painters and the tests).
    void CreateSurface();
    QImage PresentSurface() const;
    void FillBox(int left, int top, int right, int bottom, PaintColor fill,
                 std::optional<PaintColor> outline = std::nullopt, int outlineWidth = 1);
    // kind 0 brush, 1 pen, 2 text colour; create false puts the initial black tools back.
    void SelectTool(bool create, int kind, PaintColor color, bool withPen = false, int penWidth = 1);
    void DrawBackground(PaintColor back, button::Look& look, button::PaintCode& paintCode,
                        PaintColor gradient, PaintColor hover);
    void GradientFill(PaintColor first, PaintColor second, button::GradientMode mode);
    void PrepareClip(button::PaintCode& paintCode);
    void ClipTo(const QRegion& region);

    const ButtonPaintState& state() const { return m_s; }
    ButtonResources& res() { return m_r; }
    int width() const { return m_s.Width; }
    int height() const { return m_s.Height; }

private:
    void refreshCaches();
    QImage frameShape(QImage image, std::optional<PaintColor> frameColor) const;

    const ButtonPaintState& m_s;
    ButtonResources& m_r;
    QPoint m_moveBy;
};

} // namespace ktv
