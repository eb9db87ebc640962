// Everything the button painter needs to know about one qvButtons_H for one redraw: the
// properties and run-time state flags, by their own names, filled in by the widget.
#pragma once

#include "ui/controls/button/paint/ButtonColors.h"
#include "ui/controls/button/paint/ButtonTypes.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>

namespace ktv {

struct ButtonPaintState {
    // Client size in pixels. The surface, the regions and the layout follow it.
    int Width = 0;
    int Height = 0;
    // Device pixels per logical pixel of the screen the button is shown on. Every rule below
    // works in logical pixels; the surface draws text and pictures at the finer pixels.
    double DevicePixelRatio = 1;

    // Properties. Colours use the shared encoding (top bit set: system colour index in the low byte;
    // otherwise RGB with red in the lowest byte).
    int ButtonStyle = 0;        // 0 to 7
    int Mode = 0;               // 0 push button, 1 check box, 2 option button
    QString Caption;            // "&" marks the access key, "||" is a line break
    int CaptionAlign = 2;       // 0 left, 1 right, 2 centre
    int CaptionStyle = 0;       // 0 flat, 1 embossed, 2 engraved
    int CustomClick = 0;        // 0 to 8
    int ButtonShape = 0;        // 0 to 8
    QImage Picture;             // the loaded picture (null when none); icons and cursors keep their alpha
    bool PictureIsIcon = false; // the icon flag: the picture is an icon or cursor, not a bitmap/JPEG
    int PictureAlign = 0;       // 0 to 5
    bool Enabled = true;
    bool ShowFocusRect = true;
    bool Value = false;
    int PictureSize = 16; // the held pixel size: 16, 24, 32, 40 or 48 (0 is taken as 16)
    QFont Font;
    std::uint32_t ForeColor = ButtonColors::TextColor;
    std::uint32_t BackColor = ButtonColors::FaceColor;
    std::uint32_t GradientColor = 0;
    int GradientMode = 0; // 0 none, 1 to 4 directions
    std::uint32_t HoverForeColor = ButtonColors::TextColor;
    std::uint32_t HoverBackColor = ButtonColors::FaceColor;

    // Run-time state.
    std::uint8_t StateFlags = 0; // bit 0 (1) default button, bit 1 (2) pressed, bit 2 (4) hover look
    bool Hovering = false;       // the mouse is over the button and the hover timer runs
    bool Held = false;           // the left mouse button or the space bar is held down on it
    bool DesignMode = false;     // a form designer hosts the control
    std::uint32_t ContainerBackColor = 0xFFFFFFu; // the container's back colour as RGB

    // The screen's size in pixels; a gradient spanning more than a quarter of it uses two-pixel
    // bands. 0 asks the primary screen.
    int ScreenWidth = 0;
    int ScreenHeight = 0;

    static constexpr std::uint8_t StateDefault = 1;
    static constexpr std::uint8_t StatePressed = 2;
    static constexpr std::uint8_t StateHover = 4;

    // The enumerated properties as their types. A number out of range (no setter or load lets
    // one in) reads as the nearest style, and as the rectangle or the first value otherwise.
    button::Style style() const
    {
        return button::Style(ButtonStyle < 0 ? 0 : ButtonStyle > 7 ? 7 : ButtonStyle);
    }
    button::Shape shape() const
    {
        return inRange(ButtonShape, 8) ? button::Shape(ButtonShape) : button::Shape::Rectangle;
    }
    button::Mode mode() const { return inRange(Mode, 2) ? button::Mode(Mode) : button::Mode::Command; }
    button::CaptionAlign captionAlign() const
    {
        return inRange(CaptionAlign, 2) ? button::CaptionAlign(CaptionAlign) : button::CaptionAlign::Center;
    }
    button::CaptionStyle captionStyle() const
    {
        return inRange(CaptionStyle, 2) ? button::CaptionStyle(CaptionStyle) : button::CaptionStyle::Flat;
    }
    button::PictureAlign pictureAlign() const
    {
        return inRange(PictureAlign, 5) ? button::PictureAlign(PictureAlign) : button::PictureAlign::LeftEdge;
    }
    button::GradientMode gradient() const
    {
        return inRange(GradientMode, 4) ? button::GradientMode(GradientMode) : button::GradientMode::None;
    }

    bool isDefault() const { return (StateFlags & StateDefault) != 0; }
    bool isPressed() const { return (StateFlags & StatePressed) != 0; }
    bool isHoverLook() const { return (StateFlags & StateHover) != 0; }
    // Pushed: the pressed and the hover-look flags are both set.
    bool isPushed() const { return isPressed() && isHoverLook(); }

private:
    static constexpr bool inRange(int value, int last) { return value >= 0 && value <= last; }
};

} // namespace ktv
