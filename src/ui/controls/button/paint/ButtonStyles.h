// The eight visual styles of qvButtons_H: their derived colours, the painter template they share,
// their edge colour tables, the three rings of edge lines, and the focus indication.
#pragma once

#include "ui/controls/button/paint/ButtonPainter.h"

namespace ktv {

class ButtonStyles {
public:
    explicit ButtonStyles(ButtonPainter& painter);

    // RefreshResources "BackColor": the back, shade, hover and value-on colours of the style.
    void RefreshColors();
    // One style painter: background, content, edges, focus; returns the look and the paint code.
    void PaintStyle(EdgePoints& points, EdgeColors& colors, button::Look& look, button::PaintCode& paintCode);
    // The edge colours for the style and look (the look may change: style 0's on look, style 2's
    // hot look).
    EdgeColors EdgeColorsFor(button::Look& look, PaintColor face) const;
    // The three rings of edge lines of shapes 0 to 3.
    void DrawEdges(EdgePoints& points, const EdgeColors& colors);
    // The focus indication of the default (focused) button.
    void DrawFocus(PaintColor focusColor, bool value, bool enabled);
    // The corner points of ring `inset` (0 outer, 1 middle, 2 inner, 5 the diagonal focus outline).
    void RingPoints(int inset, QPoint* out) const;

private:
    void roundCorners(button::Style style, std::optional<PaintColor> color);

    ButtonPainter& m_p;
    const ButtonPaintState& m_s;
    ButtonResources& m_r;
};

} // namespace ktv
