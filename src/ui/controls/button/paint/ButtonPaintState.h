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
    button::Style ButtonStyle = button::Style::Classic;
    button::Mode Mode = button::Mode::Command;
    QString Caption; // "&" marks the access key, "||" is a line break
    button::CaptionAlign CaptionAlign = button::CaptionAlign::Center;
    button::CaptionStyle CaptionStyle = button::CaptionStyle::Flat;
    int CustomClick = 0; // 0 to 8: the direction the pressed window moves in
    button::Shape ButtonShape = button::Shape::Rectangle;
    QImage Picture;             // the loaded picture (null when none); icons and cursors keep their alpha
    bool PictureIsIcon = false; // the icon flag: the picture is an icon or cursor, not a bitmap/JPEG
    button::PictureAlign PictureAlign = button::PictureAlign::LeftEdge;
    bool Enabled = true;
    bool ShowFocusRect = true;
    bool Value = false;
    int PictureSize = 16; // the held pixel size: 16, 24, 32, 40 or 48 (0 is taken as 16)
    QFont Font;
    std::uint32_t ForeColor = ButtonColors::TextColor;
    std::uint32_t BackColor = ButtonColors::FaceColor;
    std::uint32_t GradientColor = 0;
    button::GradientMode GradientMode = button::GradientMode::None;
    std::uint32_t HoverForeColor = ButtonColors::TextColor;
    std::uint32_t HoverBackColor = ButtonColors::FaceColor;

    // Run-time state.
    button::States StateFlags;                    // default button, pressed, hover look
    bool Hovering = false;                        // the mouse is over the button and the hover timer runs
    bool Held = false;                            // the left mouse button or the space bar is held down on it
    bool DesignMode = false;                      // a form designer hosts the control
    std::uint32_t ContainerBackColor = 0xFFFFFFu; // the container's back colour as RGB

    // The screen's size in pixels; a gradient spanning more than a quarter of it uses two-pixel
    // bands. 0 asks the primary screen.
    int ScreenWidth = 0;
    int ScreenHeight = 0;

    static constexpr button::State StateDefault = button::State::Default;
    static constexpr button::State StatePressed = button::State::Pressed;
    static constexpr button::State StateHover = button::State::Hover;

    bool isDefault() const { return StateFlags.testFlag(StateDefault); }
    bool isPressed() const { return StateFlags.testFlag(StatePressed); }
    bool isHoverLook() const { return StateFlags.testFlag(StateHover); }
    // Pushed: the pressed and the hover-look flags are both set.
    bool isPushed() const { return isPressed() && isHoverLook(); }
    // A check box or option button rather than a push button.
    bool isCheck() const { return Mode != button::Mode::Command; }
};

} // namespace ktv
