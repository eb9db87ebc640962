// The button's life cycle: a new instance, loading and saving through the host's property store,
// ambient changes, showing, resizing and the end of the instance.
#include "ui/controls/button/qvButtons_H.h"

#include "platform/qt/ControlHost.h"
#include "platform/qt/HostTimers.h"
#include "platform/qt/PropertyBag.h"
#include "platform/qt/SystemColors.h"
#include "ui/controls/button/paint/ButtonColors.h"

namespace ktv {

namespace {

// A stored whole number, or the read default when it is missing, not a number or out of range:
// a damaged store never puts a value into the button that no setter would accept.
int readInt(const PropertyBag& bag, const char* name, int def, int lo, int hi)
{
    bool ok = false;
    const int v = bag.ReadProperty(QString::fromLatin1(name), def).toInt(&ok);
    return ok && v >= lo && v <= hi ? v : def;
}

uint32_t readColor(const PropertyBag& bag, const char* name, uint32_t def)
{
    bool ok = false;
    const QVariant stored = bag.ReadProperty(QString::fromLatin1(name), def);
    const qlonglong v = stored.toLongLong(&ok);
    // Colours may come back as signed 32-bit numbers (the top bit marks system colours).
    return ok && v >= INT32_MIN && v <= qlonglong(UINT32_MAX) ? uint32_t(v) : def;
}

bool readBool(const PropertyBag& bag, const char* name, bool def)
{
    const QVariant v = bag.ReadProperty(QString::fromLatin1(name), def);
    return v.canConvert<bool>() ? v.toBool() : def;
}

ButtonPicture readPicture(const PropertyBag& bag, const char* name)
{
    const QVariant v = bag.ReadProperty(QString::fromLatin1(name), QVariant());
    if (v.canConvert<ButtonPicture>())
        return v.value<ButtonPicture>();
    if (v.canConvert<QImage>())
        return ButtonPicture::bitmap(v.value<QImage>());
    return {};
}

QVariant pictureValue(const ButtonPicture& picture) { return QVariant::fromValue(picture); }

} // namespace

void qvButtons_H::InitProperties()
{
    m_reading = true;
    m_container = m_host->containerWindow(this);
    p.Caption = m_host->displayName(this);
    p.CaptionAlign = button::CaptionAlign::Center;
    p.ShowFocusRect = true;
    p.HoverForeColor = ButtonColors::TextColor;
    p.HoverBackColor = ButtonColors::FaceColor;
    if (!m_host->containerIsMdiParent(this))
        setFont(ownFont(m_host->ambientFont(this)));
    m_containerBack = ColorToValue(TranslateColor(m_host->ambientBackColor(this)));
    p.BackColor = ButtonColors::FaceColor;
    RefreshResources(QStringLiteral("BackColor"));
    m_reading = false;
    for (const char* name : {"Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font"})
        notify(name);
}

void qvButtons_H::ReadProperties(const PropertyBag& bag)
{
    m_reading = true;
    m_container = m_host->containerWindow(this);
    const uint32_t ambientBack = m_host->ambientBackColor(this);
    m_containerBack = ColorToValue(TranslateColor(ambientBack));
    m_delayDrawing = true;

    const QString caption = bag.ReadProperty(QStringLiteral("Caption"), QString()).toString();
    p.Caption = caption;
    p.CaptionAlign =
        button::CaptionAlign(readInt(bag, "CapAlign", CaptionCenter, CaptionLeft, CaptionCenter));
    p.ButtonStyle = button::Style(readInt(bag, "BackStyle", 0, 0, 7));
    p.ButtonShape = button::Shape(readInt(bag, "Shape", 0, 0, 8));
    p.GradientMode = button::GradientMode(readInt(bag, "Gradient", 0, 0, 4));
    p.GradientColor = readColor(bag, "cGradient", ButtonColors::FaceColor);
    p.ForeColor = readColor(bag, "cFore", ButtonColors::TextColor);
    const QVariant storedFont = bag.ReadProperty(QStringLiteral("Font"), QVariant());
    if (storedFont.canConvert<QFont>() && storedFont.isValid())
        setFont(ownFont(storedFont.value<QFont>()));
    p.ShowFocusRect = readBool(bag, "Focus", true);
    p.Mode = button::Mode(readInt(bag, "Mode", ModeCommand, ModeCommand, ModeOption));
    // A push button is never on, whatever the store says.
    p.Value = readBool(bag, "Value", false) && p.Mode != button::Mode::Command;
    p.CustomClick = readInt(bag, "CustomClick", 0, 0, 8);
    p.Picture = readPicture(bag, "Image");
    const int pixels = readInt(bag, "ImgSize", 16, 16, 48);
    p.PictureSizePixels = pixels % 8 == 0 ? pixels : 16;
    p.PictureAlign =
        button::PictureAlign(readInt(bag, "ImgAlign", PictureLeftEdge, PictureLeftEdge, PictureBottomCenter));
    p.HoverForeColor = readColor(bag, "cFHover", ButtonColors::TextColor);
    setEnabled(readBool(bag, "Enabled", true));
    p.BackColor = readColor(bag, "cBack", ambientBack);
    p.HoverBackColor = readColor(bag, "cBHover", p.BackColor);
    p.HoverColorLocks = readInt(bag, "LockHover", LockNone, LockNone, LockBoth);
    p.CaptionStyle =
        button::CaptionStyle(readInt(bag, "CapStyle", CaptionFlat, CaptionFlat, CaptionEngraved));
    setMouseIcon(readPicture(bag, "mIcon"));
    setMousePointer(readInt(bag, "mPointer", 0, 0, 99));

    // What follows cannot spoil the values read above.
    RefreshResources(QStringLiteral("Picture"));
    RefreshResources(QStringLiteral("BackColor"));
    setCaption(caption);
    if (p.Mode == button::Mode::Option)
        OptionToggle(1);
    m_reading = false;

    m_delayDrawing = false;
    Resize();
}

void qvButtons_H::WriteProperties(PropertyBag& bag)
{
    const QVariant always; // no default: always stored
    auto put = [&bag](const char* name, const QVariant& value, const QVariant& def) {
        bag.WriteProperty(QString::fromLatin1(name), value, def);
    };
    put("Caption", p.Caption, QString());
    put("CapAlign", button::toInt(p.CaptionAlign), int(CaptionCenter));
    put("BackStyle", button::toInt(p.ButtonStyle), 0);
    put("Shape", button::toInt(p.ButtonShape), 0);
    put("Font", font(), always);
    put("cFore", p.ForeColor, ButtonColors::TextColor);
    put("cFHover", p.HoverForeColor, ButtonColors::TextColor);
    put("cBhover", p.HoverBackColor, p.BackColor);
    put("Focus", p.ShowFocusRect, true);
    put("LockHover", p.HoverColorLocks, int(LockNone));
    put("cGradient", p.GradientColor, ButtonColors::FaceColor);
    put("Gradient", button::toInt(p.GradientMode), 0);
    put("CapStyle", button::toInt(p.CaptionStyle), int(CaptionFlat));
    put("Mode", button::toInt(p.Mode), always);
    put("Value", p.Value, always);
    put("CustomClick", p.CustomClick, 0);
    put("ImgAlign", button::toInt(p.PictureAlign), int(PictureLeftEdge));
    put("Image", pictureValue(p.Picture), pictureValue(ButtonPicture()));
    put("ImgSize", p.PictureSizePixels == 0 ? 16 : p.PictureSizePixels, 16);
    put("Enabled", Enabled(), true);
    put("cBack", p.BackColor, always);
    put("mPointer", p.MousePointer, 0);
    put("mIcon", pictureValue(p.MouseIcon), pictureValue(ButtonPicture()));
}

void qvButtons_H::AmbientChanged(const QString& name)
{
    if (name.compare(QLatin1String("DisplayAsDefault"), Qt::CaseInsensitive) == 0) {
        const bool isDefault = m_host->displayAsDefault(this) && (p.ShowFocusRect || m_host->designMode());
        m_state.setFlag(StateDefault, isDefault);
        if (button::isCustom(p.ButtonShape) && m_host->designMode()) {
            // Custom shapes show the default state through their hover frame; only for this redraw.
            const bool wasHovering = m_hovering;
            m_hovering = isDefault;
            RedrawButton();
            m_hovering = wasHovering; // the real hover state, not the designer's one-off look
        } else {
            RedrawButton();
        }
    } else if (name.compare(QLatin1String("BackColor"), Qt::CaseInsensitive) == 0) {
        m_containerBack = ColorToValue(TranslateColor(m_host->ambientBackColor(this)));
        if (p.ButtonShape >= button::Shape::Ellipse || p.ButtonStyle == button::Style::FlatUntilHover)
            RedrawButton();
    }
}

void qvButtons_H::Show()
{
    if (m_host->designMode() && m_host->displayAsDefault(this) && p.ShowFocusRect) {
        m_state |= StateDefault;
        RedrawButton();
    }
}

void qvButtons_H::Resize()
{
    // The painter's surface follows the client size at its next use; the outline follows the
    // size now, unless drawing is held back (then at the next paint).
    m_regionsDirty = true;
    if (!m_delayDrawing) {
        BuildRegions();
        RedrawButton();
    }
}

void qvButtons_H::Terminate()
{
    m_terminated = true;
    if (m_hovering || m_host->timers().isActive(this, kHoverTimerId))
        m_host->timers().killTimer(this, kHoverTimerId);
    m_hovering = false;
    m_res.Terminate();
    m_surface = QImage();
}

void qvButtons_H::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Resize();
}

void qvButtons_H::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ensureRegions(); // what changed while hidden takes its outline before the first paint
    Show();
}

} // namespace ktv
