// The etched separator control: layout, painting, and load/save of its three stored properties.
#include "ui/controls/line3d/Line3D.h"

#include "platform/core/MessageBox.h"
#include "platform/qt/ControlHost.h"
#include "platform/qt/PropertyBag.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace ktv {

namespace {

// The offset of the line across a side of `extent` pixels.
int lineOffset(int32_t position, int extent)
{
    switch (position) {
    case Line3D::LinePositionMiddle: return extent / 2;
    case Line3D::LinePositionEnd: return extent - 2;
    default: return 0; // the start, and any value the control does not know
    }
}

// A stored 32-bit value; a store holding something that is no number gives the default.
qint64 readNumber(const PropertyBag& bag, const char* name, qint64 defaultValue)
{
    bool ok = false;
    const qint64 value = bag.ReadProperty(QString::fromLatin1(name), defaultValue).toLongLong(&ok);
    return ok ? value : defaultValue;
}

uint32_t readColor(const PropertyBag& bag, const char* name, uint32_t defaultValue)
{
    // Signed and unsigned 32-bit stores of the same colour (0x80000014 and -2147483628) are one value.
    const qint64 value = readNumber(bag, name, defaultValue);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<uint32_t>::max())
        return defaultValue;
    return uint32_t(value);
}

// Assistive technology sees a separator, with nothing to press or read.
QAccessibleInterface* separatorFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(Line3D::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Separator);
    return nullptr;
}

} // namespace

Line3D::Line3D(QWidget* parent, ControlHost* host)
    : QWidget(parent), m_host(host ? host : &ControlHost::running())
{
    static const bool accessible = [] {
        QAccessible::installFactory(&separatorFactory);
        return true;
    }();
    (void)accessible;
    layoutLines();
    m_host->attach(this);
}

Line3D::~Line3D() { m_host->detach(this); }

void Line3D::notify(const char* storedName)
{
    m_host->propertyChanged(this, QString::fromLatin1(storedName));
}

// Every setter tells the host, so a designer knows the form changed; an unchanged value draws nothing.
void Line3D::setColorLight(uint32_t color)
{
    if (color != m_clair.color) {
        m_clair.color = color;
        update();
    }
    notify("ColorLight");
}

void Line3D::setColorDark(uint32_t color)
{
    if (color != m_fonce.color) {
        m_fonce.color = color;
        update();
    }
    notify("ColorDark");
}

void Line3D::setLinePosition(int32_t position)
{
    if (position != m_linePosition) {
        m_linePosition = position;
        layoutLines();
    }
    notify("LinePosition");
}

void Line3D::InitProperties()
{
    m_clair.color = DefaultColorLight;
    m_fonce.color = DefaultColorDark;
    m_linePosition = DefaultLinePosition;
    layoutLines();
}

void Line3D::About()
{
    MsgBox("Line3D\n\nKabartma görünümlü ayırıcı çizgi denetimi: koyu bir çizgi ve hemen yanında "
           "açık bir çizgi.",
           MsgButtons::Ok, MsgIcon::Information, "Line3D Hakkında");
}

void Line3D::ReadProperties(const PropertyBag& bag)
{
    m_clair.color = readColor(bag, "ColorLight", DefaultColorLight);
    m_fonce.color = readColor(bag, "ColorDark", DefaultColorDark);
    const qint64 position = readNumber(bag, "LinePosition", DefaultLinePosition);
    const bool fits =
        position >= std::numeric_limits<int32_t>::min() && position <= std::numeric_limits<int32_t>::max();
    m_linePosition = fits ? int32_t(position) : DefaultLinePosition;
    // A control loaded after it already has its size gets no resize to lay it out, so lay out here;
    // for a control placed afterwards this gives the same lines the resize would.
    layoutLines();
}

void Line3D::WriteProperties(PropertyBag& bag)
{
    bag.WriteProperty(QStringLiteral("ColorLight"), QVariant::fromValue<uint>(m_clair.color),
                      QVariant::fromValue<uint>(DefaultColorLight));
    bag.WriteProperty(QStringLiteral("ColorDark"), QVariant::fromValue<uint>(m_fonce.color),
                      QVariant::fromValue<uint>(DefaultColorDark));
    bag.WriteProperty(QStringLiteral("LinePosition"), QVariant::fromValue<int>(m_linePosition),
                      QVariant::fromValue<int>(DefaultLinePosition));
}

void Line3D::layoutLines()
{
    const int w = width();
    const int h = height();
    if (h < w) {
        const int p = lineOffset(m_linePosition, h);
        m_clair.line = QLine(0, p + 1, w, p + 1);
        m_fonce.line = QLine(0, p, w, p);
    } else {
        const int p = lineOffset(m_linePosition, w);
        m_clair.line = QLine(p + 1, 0, p + 1, h);
        m_fonce.line = QLine(p, 0, p, h);
    }
    update();
}

void Line3D::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutLines();
}

// Each line is one logical pixel across, filled as a rectangle: at a device pixel ratio above 1
// it covers every device row or column of that pixel, and the two lines touch without a gap.
QRect Line3D::lineRect(const QLine& line) const
{
    if (line.y1() == line.y2())
        return QRect(std::min(line.x1(), line.x2()), line.y1(), std::abs(line.x2() - line.x1()), 1);
    return QRect(line.x1(), std::min(line.y1(), line.y2()), 1, std::abs(line.y2() - line.y1()));
}

void Line3D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(lineRect(m_fonce.line), TranslateColor(m_fonce.color));
    painter.fillRect(lineRect(m_clair.line), TranslateColor(m_clair.color));
}

} // namespace ktv
