// Gallery page of the etched line: every position in a wide, a tall and a square control, and one
// control that follows the window's size with its position and colours switchable.
#pragma once

#include <QWidget>

namespace ktv {

class Line3DPage : public QWidget {
    Q_OBJECT
public:
    explicit Line3DPage(QWidget* parent = nullptr);
};

} // namespace ktv
