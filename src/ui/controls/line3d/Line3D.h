// An etched separator: a dark line with a light line right beside it, horizontal or vertical by the
// control's shape, at the start, middle or end of the control; laid out again on every resize.
// A hosted control like the button: it loads and saves through the host's property store and
// tells the host of every stored property that changes.
#pragma once

#include "platform/qt/HostedControl.h"
#include "platform/qt/SystemColors.h"

#include <QLine>
#include <QWidget>
#include <cstdint>

namespace ktv {

class ControlHost;
class PropertyBag;

class Line3D : public QWidget, public HostedControl {
    Q_OBJECT
    Q_PROPERTY(uint ColorLight READ ColorLight WRITE setColorLight)
    Q_PROPERTY(uint ColorDark READ ColorDark WRITE setColorDark)
    Q_PROPERTY(int LinePosition READ LinePosition WRITE setLinePosition)

public:
    enum LinePositionConstants : int32_t {
        LinePositionMiddle = 0,
        LinePositionEnd = 1,
        LinePositionStart = 2,
    };
    Q_ENUM(LinePositionConstants)

    // Stored-property defaults: the 3D highlight and the button shadow system colours, the middle.
    static constexpr uint32_t DefaultColorLight = SystemColor(SysColorButtonHighlight);
    static constexpr uint32_t DefaultColorDark = SystemColor(SysColorButtonShadow);
    static constexpr int32_t DefaultLinePosition = LinePositionMiddle;

    // A line hosted by `host` (the running-form host when none is given).
    explicit Line3D(QWidget* parent = nullptr, ControlHost* host = nullptr);
    ~Line3D() override;

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

    // --- life cycle: a new instance, load and save through the host's property store
    QWidget* controlWindow() override { return this; }
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void AmbientChanged(const QString&) override {}
    void AccessKeyPress(int) override {}

    // The laid-out lines (the dark one and the light one), in widget pixels.
    QLine LineFonce() const { return m_fonce.line; }
    QLine LineClair() const { return m_clair.line; }

    QSize sizeHint() const override { return {120, 10}; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct LineShape {
        QLine line;
        uint32_t color;
    };

    void layoutLines();
    QRect lineRect(const QLine& line) const;
    void notify(const char* storedName);

    ControlHost* m_host;
    LineShape m_fonce{{}, DefaultColorDark};
    LineShape m_clair{{}, DefaultColorLight};
    int32_t m_linePosition = DefaultLinePosition;
};

} // namespace ktv
