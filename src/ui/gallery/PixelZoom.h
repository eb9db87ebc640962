// A magnified, pixel-exact view of another widget, so one-pixel lines can be told apart by eye.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace ktv {

class PixelZoom : public QWidget {
    Q_OBJECT
public:
    PixelZoom(QWidget* source, int factor, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    QPointer<QWidget> m_source;
    int m_factor;
    QImage m_image;
    bool m_grabbing = false;
    bool m_refreshQueued = false;
};

} // namespace ktv
