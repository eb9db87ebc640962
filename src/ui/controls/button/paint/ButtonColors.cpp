// The colour arithmetic of the button painter.
#include "ui/controls/button/paint/ButtonColors.h"

#include "platform/qt/SystemColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ktv {

PaintColor ButtonColors::TranslateColor(std::uint32_t color)
{
    if (!IsSystemColor(color))
        return PaintColor(color & 0xFFFFFFu);
    return PaintColor(ColorToValue(ktv::TranslateColor(color)));
}

namespace {

// Rounding to the closest whole number, halves to even.
int roundEven(double v) { return int(std::nearbyint(v)); }

PaintColor shiftOnce(PaintColor color, int amount, bool proportionalBlue, bool invert)
{
    int red = (color & 0xFF) + amount;
    int green = roundEven(double(color & 0xFF00) / 255.0) + amount;
    const int base = roundEven(double(color & 0xFF0000) / 65280.0);
    int blue = proportionalBlue ? base + (amount * base) / 192 : base + amount;
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    if (invert) {
        red = std::abs(255 - red);
        green = std::abs(255 - green);
        blue = std::abs(255 - blue);
    }
    return red + green * 256 + blue * 65536;
}

} // namespace

PaintColor ButtonColors::ShiftColor(PaintColor color, int& amount, bool proportionalBlue,
                                    bool avoidBlackWhite, bool invert)
{
    PaintColor result = shiftOnce(color, amount, proportionalBlue, invert);
    if (!avoidBlackWhite || (result != 0 && result != 0xFFFFFF))
        return result;
    // Try the other direction first. When both directions end at black or white (a shift
    // larger than the colour's distance to either end), halve the amount until one does not;
    // a plain retry would go back and forth for ever.
    amount = amount == 0 ? 64 : -amount;
    for (int tries = 0; tries < 16; ++tries) {
        result = shiftOnce(color, amount, proportionalBlue, invert);
        if (result != 0 && result != 0xFFFFFF)
            return result;
        amount = -amount;
        result = shiftOnce(color, amount, proportionalBlue, invert);
        if (result != 0 && result != 0xFFFFFF)
            return result;
        amount = amount / 2 == 0 ? (amount < 0 ? -1 : 1) : amount / 2;
    }
    return result;
}

PaintColor ButtonColors::Shift(PaintColor color, int amount, bool proportionalBlue)
{
    return ShiftColor(color, amount, proportionalBlue);
}

std::vector<PaintColor> ButtonColors::BlendColors(int count, PaintColor first, PaintColor second)
{
    std::vector<PaintColor> list(std::max(count, 0), first);
    if (count < 2)
        return list; // no steps to take: the whole run has the first colour
    double red = first & 0xFF;
    double green = double(first & 0xFF00) / 255.0;
    double blue = double(first & 0xFF0000) / 65280.0;
    const double endRed = second & 0xFF;
    const double endGreen = roundEven(double(second & 0xFF00) / 255.0);
    const double endBlue = roundEven(double(second & 0xFF0000) / 65280.0);
    const double last = count - 1;
    const double stepRed = (endRed - red) / last;
    const double stepGreen = (endGreen - green) / last;
    const double stepBlue = (endBlue - blue) / last;
    for (int i = 1; i < count; ++i) {
        red = std::clamp(red + stepRed, 0.0, 255.0);
        green = std::clamp(green + stepGreen, 0.0, 255.0);
        blue = std::clamp(blue + stepBlue, 0.0, 255.0);
        list[i] = int(std::floor(red)) + int(std::floor(green)) * 256 + int(std::floor(blue)) * 65536;
    }
    return list;
}

} // namespace ktv
