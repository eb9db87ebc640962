// The shared colour encoding of the controls (a 32-bit value: top bit set -> system colour index in the
// low byte, otherwise RGB with red in the lowest byte) and its translation to Qt colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace ktv {

// The system colour indexes the controls use, with their platform numbers.
enum SystemColorIndex : uint8_t {
    SysColorWindow = 5,           // window background (text box background)
    SysColorWindowText = 8,       // window text
    SysColorButtonFace = 15,      // button face
    SysColorButtonShadow = 16,    // button shadow
    SysColorButtonText = 18,      // button text
    SysColorButtonHighlight = 20, // 3D highlight
};

constexpr uint32_t kSystemColorFlag = 0x80000000u;

// The encoded value that names a system colour (0x80000000 | index).
constexpr uint32_t SystemColor(uint8_t index) { return kSystemColorFlag | index; }

// The encoded value of an RGB colour: red in the lowest byte, then green, then blue.
constexpr uint32_t RGBColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return uint32_t(red) | (uint32_t(green) << 8) | (uint32_t(blue) << 16);
}

constexpr bool IsSystemColor(uint32_t value) { return (value & kSystemColorFlag) != 0; }

// The colour a value stands for. System colours come from the application palette (active group),
// so a pinned palette gives stable colours; an index without a palette role gives black, as the
// platform answered for a colour it did not know.
QColor TranslateColor(uint32_t value);

// The encoded RGB value of a Qt colour (alpha is dropped).
uint32_t ColorToValue(const QColor& color);

} // namespace ktv
