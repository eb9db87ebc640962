// The button's enumerated properties and the painter's paint code as types. The stored and
// read property values stay whole numbers (these values); everything else compares the types.
// Registered with the meta-object system, so tools and tests can list their keys.
#pragma once

#include <QObject>

namespace ktv::button {
Q_NAMESPACE

// ButtonStyle: the eight painters.
enum class Style : int {
    Classic = 0,     // raised 3-D
    DoubleBevel = 1, // double soft bevel in a black frame
    Rounded = 2,     // rounded, blue-framed (the wizard's buttons)
    Etched = 3,
    ThinRing = 4, // thin single ring
    FlatUntilHover = 5,
    SoftDoubleRing = 6,
    RoundedSoft = 7,
};
Q_ENUM_NS(Style)

// ButtonShape: the outline of the button's window.
enum class Shape : int {
    Rectangle = 0,
    SlantLeft = 1,        // bottom-left corner moved right
    SlantRight = 2,       // top-right corner moved left
    Parallelogram = 3,    // both sides slanted
    Ellipse = 4,          // with a raised gradient ring
    EllipseNoCaption = 5, // as Ellipse, with a caption only while on
    EllipseFramed = 6,    // framed in black, with a caption only while on
    PictureFramed = 7,    // the picture's opaque part, framed in BackColor
    PictureRinged = 8,    // the picture's opaque part, with a raised gradient ring
};
Q_ENUM_NS(Shape)

enum class Mode : int { Command = 0, Check = 1, Option = 2 };
Q_ENUM_NS(Mode)

enum class CaptionAlign : int { Left = 0, Right = 1, Center = 2 };
Q_ENUM_NS(CaptionAlign)

enum class CaptionStyle : int { Flat = 0, Embossed = 1, Engraved = 2 };
Q_ENUM_NS(CaptionStyle)

enum class PictureAlign : int {
    LeftEdge = 0,
    LeftOfCaption = 1,
    RightEdge = 2,
    RightOfCaption = 3,
    TopCenter = 4,
    BottomCenter = 5,
};
Q_ENUM_NS(PictureAlign)

// GradientMode: the direction from the first colour to the second.
enum class GradientMode : int {
    None = 0,
    LeftToRight = 1,
    RightToLeft = 2,
    TopToBottom = 3,
    BottomToTop = 4
};
Q_ENUM_NS(GradientMode)

// The run-time state flags: drawn as the default (focused) button, pressed, and the hover look.
// Pushed is pressed and hover look together.
enum class State : quint8 { Default = 1, Pressed = 2, Hover = 4 };
Q_DECLARE_FLAGS(States, State)
Q_FLAG_NS(States)

// The look a style painter draws: normal, the default button, pushed, and a fourth look (style
// 2's hot look while the mouse is over the button, style 0's look of a check box that is on).
enum class Look : int { Normal = 0, Default = 1, Pushed = 2, Hot = 3 };
Q_ENUM_NS(Look)

// What a redraw is to present: nothing, the surface unclipped, clipped to the shape region, or
// clipped inside a 3-D ring. Unscoped so that a code compares with the number it stands for.
enum PaintCode : int { Nothing = 0, Unclipped = 1, ShapeClipped = 3, Ringed = 4 };
Q_ENUM_NS(PaintCode)

// The whole number a value is stored as.
template <typename E> constexpr int toInt(E value) { return static_cast<int>(value); }

// Shapes 7 and 8 come from the picture.
constexpr bool isCustom(Shape s) { return s == Shape::PictureFramed || s == Shape::PictureRinged; }

} // namespace ktv::button

Q_DECLARE_OPERATORS_FOR_FLAGS(ktv::button::States)
