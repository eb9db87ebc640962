// The drawing resources one button keeps between redraws: the off-screen surface, the window
// shape with the shape and inner regions, the derived colours, the font, the cached scaled picture
// and the content layout. Owned by the widget, filled and used by the painter.
#pragma once

#include "platform/qt/gdi/GdiSurface.h"
#include "ui/controls/button/paint/ButtonColors.h"
#include "ui/controls/button/paint/ButtonTypes.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <optional>

namespace ktv {

class ButtonResources {
public:
    // Off-screen surface (created by the first redraw or region build; resized with the client).
    gdi::GdiSurface surface;
    bool surfaceCreated = false;

    // Shape (BuildRegions). Shapes 0 to 3 have no shape or inner region.
    QRegion windowShape;
    QRegion shapeRegion;
    QRegion innerRegion;
    bool hasShapeRegions = false;
    int leftCut = 0;
    int rightLimit = 0;
    bool windowMoved = false; // CustomClick: the window is moved by the pressed offset

    // Derived colours (RefreshResources "BackColor").
    PaintColor backRGB = 0;
    PaintColor shadeRGB = 0;
    PaintColor hoverRGB = 0;
    PaintColor valueOnRGB = 0;

    // Picture (RefreshResources "Picture"): its size, the cached scaled copy with near-key
    // pixels set to the key colour, and the size of that copy.
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool pictureIsIcon = false;
    QImage pictureCopy; // at the device pixel ratio of the surface (its devicePixelRatio)
    QSize scaledPictureSize;

    // Layout (LayoutContent), before any pressed shift.
    QRect captionRect;
    QRect pictureRect;
    bool pictureFillsButton = false;

    // What the caches were built from, so a redraw rebuilds only what changed.
    struct ColorKey {
        std::uint32_t back, hover;
        button::Style style;
        bool operator==(const ColorKey&) const = default;
    };
    struct LayoutKey {
        QString caption;
        button::CaptionAlign captionAlign;
        button::CaptionStyle captionStyle;
        button::PictureAlign pictureAlign;
        int pictureSize;
        button::Shape shape;
        int width, height, leftCut, rightLimit;
        qint64 picture;
        QFont font;
        bool operator==(const LayoutKey&) const = default;
    };
    std::optional<ColorKey> colorKey;
    std::optional<LayoutKey> layoutKey;
    std::optional<qint64> pictureKey;
    double pictureRatio = 1; // the device pixel ratio the picture copy was made for
    std::optional<QFont> fontKey;

    // Releases everything (the control's Terminate).
    void Terminate() { *this = ButtonResources(); }
};

} // namespace ktv
