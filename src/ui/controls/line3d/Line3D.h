// An etched separator: a dark line with a light line right beside it, horizontal or vertical by the
// control's shape, at the start, middle or end of the control; laid out again on every resize.
#pragma once

#include <QLine>
#include <QWidget>
#include <cstdint>

namespace ktv {

class PropertyBag;

class Line3D : public QWidget {
    Q_OBJECT
public:
    enum LinePositionConstants : int32_t {
        LinePositionMiddle = 0,
        LinePositionEnd = 1,
        LinePositionStart = 2,
    };

    // Stored-property defaults: the 3D highlight and the button shadow system colours, the middle.
    static constexpr uint32_t DefaultColorLight = 0x80000014u;
    static constexpr uint32_t DefaultColorDark = 0x80000010u;
    static constexpr int32_t DefaultLinePosition = LinePositionMiddle;

    explicit Line3D(QWidget* parent = nullptr);

    // Colours in the shared encoding (platform/qt/SystemColors.h).
    uint32_t ColorLight() const { return m_clair.color; }
    void setColorLight(uint32_t color);
    uint32_t ColorDark() const { return m_fonce.color; }
    void setColorDark(uint32_t color);

    // 0 middle, 1 end (bottom or right), 2 start (top or left); any other value counts as 2.
    int32_t LinePosition() const { return m_linePosition; }
    void setLinePosition(int32_t position);

    // A modal information box about the control.
    void About();

    // Load and save through the host's property store.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // The laid-out lines (the dark one and the light one), in widget pixels.
    QLine LineFonce() const { return m_fonce.line; }
    QLine LineClair() const { return m_clair.line; }

    QSize sizeHint() const override { return {120, 10}; }

signals:
    // Tells the host that a stored property changed, so a designer knows the form needs saving.
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct LineShape {
        QLine line;
        uint32_t color;
    };

    void layoutLines();

    LineShape m_fonce{{}, DefaultColorDark};
    LineShape m_clair{{}, DefaultColorLight};
    int32_t m_linePosition = DefaultLinePosition;
};

} // namespace ktv
