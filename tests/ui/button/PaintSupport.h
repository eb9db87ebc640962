// Shared helpers of the painter tests: a pinned palette, a ready paint state, and pixel access.
#pragma once

#include "ui/controls/button/paint/ButtonPainter.h"

#include <QGuiApplication>
#include <QMetaEnum>
#include <QPalette>
#include <gtest/gtest.h>
#include <ostream>
#include <type_traits>

namespace ktv::button {

// The button's enumerations print by their names in test messages and parameter lists.
template <typename E>
requires std::is_enum_v<E> std::ostream& operator<<(std::ostream& os, E value)
{
    const char* key = QMetaEnum::fromType<E>().valueToKey(toInt(value));
    return key ? os << key : os << toInt(value);
}

} // namespace ktv::button

namespace ktv::test {

using button::GradientMode;
using button::Mode;
using button::PictureAlign;
using button::Shape;
using button::Style;

// Pins the palette (system colours) so the pixel asserts do not depend on the desktop.
class PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = QGuiApplication::palette();
        QPalette p;
        p.setColor(QPalette::Button, QColor(212, 208, 200));
        p.setColor(QPalette::ButtonText, QColor(0, 0, 0));
        p.setColor(QPalette::Dark, QColor(128, 128, 128));
        p.setColor(QPalette::Light, QColor(255, 255, 255));
        p.setColor(QPalette::Base, QColor(255, 255, 255));
        p.setColor(QPalette::Text, QColor(0, 0, 0));
        QGuiApplication::setPalette(p);
    }
    void TearDown() override { QGuiApplication::setPalette(m_saved); }

    static ButtonPaintState state(int w, int h, button::Style style = button::Style::Classic)
    {
        ButtonPaintState s;
        s.Width = w;
        s.Height = h;
        s.ButtonStyle = style;
        s.ScreenWidth = 4000; // far more than four buttons wide: one-pixel gradient bands
        s.ScreenHeight = 4000;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        s.Font = font;
        return s;
    }

    // Builds the regions (as the widget does on resize) and redraws.
    static QImage paint(const ButtonPaintState& s, ButtonResources& r)
    {
        ButtonPainter::BuildRegions(s, r);
        return ButtonPainter::RedrawButton(s, r).image;
    }

    static PaintColor at(const QImage& image, int x, int y)
    {
        return PaintColor(gdi::fromQRgb(image.pixel(x, y)));
    }

private:
    QPalette m_saved;
};

inline int red(PaintColor c) { return c & 0xFF; }
inline int green(PaintColor c) { return (c >> 8) & 0xFF; }
inline int blue(PaintColor c) { return (c >> 16) & 0xFF; }

} // namespace ktv::test
