// The real mouse as Qt reports it.
#pragma once

#include "platform/qt/HostCursor.h"

namespace ktv {

class QtHostCursor final : public HostCursor {
public:
    QPoint cursorPos() const override;
    QWidget* windowAt(const QPoint& global) const override;
};

} // namespace ktv
