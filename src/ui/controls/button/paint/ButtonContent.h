// The caption and the picture of qvButtons_H: where they go (LayoutContent), how they are drawn
// (DrawContent) with the pressed shift, hover, disabled and embossed/engraved looks, and the
// picture effects: the key-colour transparency, icons, and the greyed disabled picture.
#pragma once

#include "platform/qt/gdi/GdiSurface.h"
#include "ui/controls/button/paint/ButtonPainter.h"

#include <QRect>

namespace ktv {

class ButtonContent {
public:
    explicit ButtonContent(ButtonPainter& painter);

    // RefreshResources "Picture": the picture's size and icon flag; the cached copy is dropped.
    void RefreshPicture();
    // Runs LayoutContent when one of its inputs changed since the last run.
    void LayoutIfChanged();
    // Computes the caption and picture rectangles; true when a large picture takes the button.
    bool LayoutContent();
    void DrawContent(PaintColor face, PaintColor disabledColor, bool value, bool check);
    void DrawPicture(QRect rect);
    // Draws the source with its top-left colour transparent into the rectangle of the target.
    void TransparentDraw(gdi::GdiSurface& target, QRect rect, const QImage& source);

    // The caption as drawn: "||" becomes a line break.
    static QString CaptionText(const QString& caption);

private:
    void drawCaption(const QRect& rect, const QString& text, PaintColor color);

    ButtonPainter& m_p;
    const ButtonPaintState& m_s;
    ButtonResources& m_r;
};

} // namespace ktv
