// A picture object as the button holds it: a bitmap (also from JPEG) or an icon or cursor, or none.
#pragma once

#include <QImage>
#include <QMetaType>

namespace ktv {

struct ButtonPicture {
    QImage image;      // null for none
    bool icon = false; // icon or cursor (drawn with its own transparency) rather than a bitmap

    bool isNone() const { return image.isNull(); }
    static ButtonPicture bitmap(const QImage& image) { return {image, false}; }
    static ButtonPicture iconPicture(const QImage& image) { return {image, true}; }

    friend bool operator==(const ButtonPicture& a, const ButtonPicture& b)
    {
        return a.icon == b.icon && a.image == b.image;
    }
};

} // namespace ktv

Q_DECLARE_METATYPE(ktv::ButtonPicture)
