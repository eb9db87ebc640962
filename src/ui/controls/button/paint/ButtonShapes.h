// The shapes of qvButtons_H: the window shape, the shape and inner regions used for clipping and
// frame rings, the picture-defined shapes, and the one-pixel move of a pressed CustomClick button.
#pragma once

#include "ui/controls/button/paint/ButtonPainter.h"

#include <QPoint>
#include <QRegion>
#include <QSize>

namespace ktv {

class ButtonShapes {
public:
    explicit ButtonShapes(ButtonPainter& painter);

    ButtonShape BuildRegions();
    // Paints the part of a non-rectangular shape that the redraws leave alone (run after the
    // region build and whenever the surface is made anew).
    void PaintBackdrop();
    // The picture's size scaled by the smaller ratio available / picture, keeping its proportions.
    QSize FitPicture(int availableWidth, int availableHeight) const;
    // Makes the cached scaled copy (near-key pixels set to the key colour) and, with a window
    // shape, cuts the key-coloured runs out of it and out of the shape and inner regions.
    void BuildPictureRegion(int width, int height, QRegion* windowShape);
    // The offset the window must move by now; moved is true when it has just moved on a press.
    QPoint CustomClickMove(bool& moved);

private:
    void cutCorners(QRegion& shape, int w, int h, bool left, bool right) const;

    ButtonPainter& m_p;
    const ButtonPaintState& m_s;
    ButtonResources& m_r;
};

} // namespace ktv
