// The colour arithmetic of the button painter: translation of the shared encoding to RGB, the
// brightness shift with its rounding, and the blend list of the gradients.
#pragma once

#include "platform/qt/SystemColors.h"

#include <cstdint>
#include <vector>

namespace ktv {

// RGB values with red in the lowest byte; -1 (any negative value) means "none" where allowed.
using PaintColor = std::int32_t;

class ButtonColors {
public:
    static constexpr PaintColor White = 0xFFFFFF;
    static constexpr PaintColor Black = 0;
    static constexpr PaintColor Grey = 0x808080;

    // The button's own colours before any is set, in the shared encoding: the system button
    // face behind the button and the system button text for its caption.
    static constexpr std::uint32_t FaceColor = SystemColor(SysColorButtonFace);
    static constexpr std::uint32_t TextColor = SystemColor(SysColorButtonText);

    // A system colour (top bit set) becomes its RGB value through the application palette; any
    // other value is returned unchanged.
    static PaintColor TranslateColor(std::uint32_t color);

    // Shifts each component by amount. Green and blue are taken out with the divisors 255 and
    // 65280 and rounded half to even, which makes them up to one step brighter than the source.
    // proportionalBlue scales blue's shift by blue / 192; avoidBlackWhite never returns pure black
    // or white (the amount is negated, or set to 64 when 0, and written back); invert mirrors each
    // component around 255.
    static PaintColor ShiftColor(PaintColor color, int& amount, bool proportionalBlue = false,
                                 bool avoidBlackWhite = false, bool invert = false);
    // The same with an amount that is not written back.
    static PaintColor Shift(PaintColor color, int amount, bool proportionalBlue = false);

    // count colours running from first to second; entry 0 is first unchanged.
    static std::vector<PaintColor> BlendColors(int count, PaintColor first, PaintColor second);
};

} // namespace ktv
