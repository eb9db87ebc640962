// Translation of encoded colour values to Qt colours through the application palette.
#include "platform/qt/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <optional>

namespace ktv {

namespace {

// Palette role for each system colour index the program can meet. The indexes the controls
// use come first; the others are mapped to their nearest role so that a stored value from a
// form never turns into an arbitrary colour.
std::optional<QPalette::ColorRole> roleForIndex(uint8_t index)
{
    switch (index) {
    case SysColorWindow: return QPalette::Base;
    case SysColorWindowText: return QPalette::Text;
    case SysColorButtonFace: return QPalette::Button;
    case SysColorButtonShadow: return QPalette::Dark;
    case SysColorButtonText: return QPalette::ButtonText;
    case SysColorButtonHighlight: return QPalette::Light;
    case 13: return QPalette::Highlight;       // selected item background
    case 14: return QPalette::HighlightedText; // selected item text
    case 21: return QPalette::Shadow;          // 3D dark shadow
    case 22: return QPalette::Midlight;        // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return std::nullopt;
    }
}

} // namespace

QColor TranslateColor(uint32_t value)
{
    if (IsSystemColor(value)) {
        const auto role = roleForIndex(uint8_t(value & 0xFFu));
        if (!role)
            return QColor(Qt::black);
        return QGuiApplication::palette().color(QPalette::Active, *role);
    }
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

uint32_t ColorToValue(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGBColor(uint8_t(rgb.red()), uint8_t(rgb.green()), uint8_t(rgb.blue()));
}

} // namespace ktv
