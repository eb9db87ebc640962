// Loading button pictures from files.
#include "ui/controls/button/ButtonPicture.h"

#include <QFileInfo>

namespace ktv {

ButtonPicture ButtonPicture::fromFile(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        return {};
    const QString suffix = QFileInfo(path).suffix().toLower();
    return {image, suffix == QLatin1String("ico") || suffix == QLatin1String("cur")};
}

} // namespace ktv
