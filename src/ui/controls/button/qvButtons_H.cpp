// The button's properties, their side effects and the redraw operation.
#include "ui/controls/button/qvButtons_H.h"

#include "platform/qt/ControlHost.h"
#include "platform/qt/HostTimers.h"
#include "platform/qt/SystemColors.h"
#include "ui/controls/button/ButtonAccessible.h"
#include "ui/controls/button/paint/ButtonColors.h"
#include "ui/controls/button/paint/ButtonPainter.h"

#include <QAccessible>
#include <QEvent>
#include <QPaintEngine>
#include <QPainter>

namespace ktv {

namespace {

bool isCustomShape(int shape) { return button::isCustom(button::Shape(shape)); }

// The position of the access-key marker: the last "&" that is not half of a literal "&&".
// Pairs are taken from the left, as the caption is drawn, so the key is the letter that shows
// underlined. -1: the caption has no single "&".
int accessMarker(const QString& caption)
{
    int marker = -1;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            ++i; // a literal ampersand
            continue;
        }
        marker = i;
    }
    return marker;
}

Qt::CursorShape cursorShape(int pointer)
{
    switch (pointer) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5:
    case 15: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

// Every attribute of the font marked as the button's own, so the button keeps it whatever
// font the container takes later.
QFont qvButtons_H::ownFont(QFont font)
{
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

qvButtons_H::qvButtons_H(QWidget* parent, ControlHost* host)
    : QWidget(parent), m_host(host ? host : &ControlHost::running())
{
    // The class's own colours before any property is set.
    p.ForeColor = ButtonColors::TextColor;
    p.BackColor = ButtonColors::FaceColor;
    setMouseTracking(true); // moves without a pressed button start the hover tracking
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ButtonAccessible::install();
    m_host->attach(this);
}

qvButtons_H::~qvButtons_H()
{
    if (!m_terminated)
        Terminate();
    // Group members are found by address: a destroyed button must not stay in its group.
    if (p.Mode == button::Mode::Option)
        OptionToggle(-1);
    m_host->detach(this);
}

QWidget* qvButtons_H::container() const { return m_container ? m_container.data() : parentWidget(); }

void qvButtons_H::notify(const char* storedName)
{
    m_host->propertyChanged(this, QString::fromLatin1(storedName));
}

void qvButtons_H::designMessage(const QString& text)
{
    if (m_host->designMode())
        m_host->messageBox(text, MsgButtons::Ok, MsgIcon::Information);
}

// ---------------------------------------------------------------- properties
//
// Every setter: check the range, store, mark the image (and the window shape) out of date and
// ask for a repaint (RedrawButton); paintEvent builds what is out of date and paints. The host
// hears of every setting, so a value set again is still reported, but it rebuilds and repaints
// nothing: only what follows from the value (the hover colour that tracks it, the other buttons
// of an option group) is brought in line again.

void qvButtons_H::setButtonStyle(int value)
{
    if (value < 0 || value > 7)
        return;
    if (button::Style(value) == p.ButtonStyle) {
        notify("BackStyle");
        return;
    }
    const button::Style old = p.ButtonStyle;
    p.ButtonStyle = button::Style(value);
    // The flat style paints the rings of the shapes that are not custom; the corner cuts of the
    // rectangular and slanted shapes follow the style.
    const bool flat = old == button::Style::FlatUntilHover || p.ButtonStyle == button::Style::FlatUntilHover;
    if ((flat && !button::isCustom(p.ButtonShape)) || p.ButtonShape < button::Shape::Ellipse)
        m_regionsDirty = true;
    RefreshResources(QStringLiteral("BackColor"));
    RedrawButton();
    notify("BackStyle");
}

void qvButtons_H::setMode(int value)
{
    if (value < ModeCommand || value > ModeOption)
        return;
    const button::Mode old = p.Mode;
    const button::Mode mode = button::Mode(value);
    if (old == button::Mode::Option && mode != button::Mode::Option)
        OptionToggle(-1);
    else if (mode == button::Mode::Option && old != button::Mode::Option)
        OptionToggle(1);
    if (mode == button::Mode::Command && old != button::Mode::Command && p.Value) {
        p.Value = false;
        notify("Value");
    }
    p.Mode = mode;
    if (mode != old)
        RedrawButton();
    notify("Mode");
}

void qvButtons_H::setCaption(const QString& value)
{
    const int marker = accessMarker(value);
    if (marker >= 0)
        m_host->setAccessKeys(this, marker + 1 < value.size() ? QString(value[marker + 1]) : QString());
    if (value == p.Caption) {
        notify("Caption");
        return;
    }
    p.Caption = value;
    RedrawButton();
    notify("Caption");
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void qvButtons_H::setCaptionAlign(int value)
{
    if (value < CaptionLeft || value > CaptionCenter)
        return;
    if (!p.Picture.isNone() &&
        (p.PictureAlign == button::PictureAlign::TopCenter ||
         p.PictureAlign == button::PictureAlign::BottomCenter) &&
        value != CaptionCenter) {
        designMessage(QStringLiteral("When button images are aligned top/bottom center, \n"
                                     "button captions can only be center aligned"));
        return;
    }
    if (button::CaptionAlign(value) != p.CaptionAlign) {
        p.CaptionAlign = button::CaptionAlign(value);
        RedrawButton();
    }
    notify("CapAlign");
}

void qvButtons_H::setCaptionStyle(int value)
{
    if (value < CaptionFlat || value > CaptionEngraved)
        return;
    const bool changed = button::CaptionStyle(value) != p.CaptionStyle;
    p.CaptionStyle = button::CaptionStyle(value);
    notify("CapStyle");
    if (changed && !p.Caption.isEmpty())
        RedrawButton();
}

void qvButtons_H::setCustomClick(int value)
{
    if (value < 0 || value > 8)
        return;
    p.CustomClick = value;
    notify("CustomClick");
    if (value >= 1 && !button::isCustom(p.ButtonShape))
        designMessage(
            QStringLiteral("This property has no effect unless the Button Shape is a custom shape."));
}

void qvButtons_H::setButtonShape(int value)
{
    if (value < 0 || value > 8)
        return;
    if (isCustomShape(value)) {
        if (p.Picture.isNone() || p.Picture.icon) {
            designMessage(
                QStringLiteral("The Picture Property must be assigned first and must be a bitmap or JPEG."));
            return;
        }
        if (PictureSize() != PictureSize48) {
            m_delayDrawing = true;
            setPictureSize(PictureSize48);
            m_delayDrawing = false;
        }
    }
    const bool changed = button::Shape(value) != p.ButtonShape;
    const bool centred = p.CaptionAlign != button::CaptionAlign::Center;
    p.ButtonShape = button::Shape(value);
    if (centred) {
        p.CaptionAlign = button::CaptionAlign::Center;
        notify("CapAlign");
    }
    if (changed)
        m_regionsDirty = true; // the new outline is built before it is next shown
    // Drawing held back ends here even for the same shape, with what was held back.
    if (changed || centred || m_delayDrawing)
        Refresh();
    notify("Shape");
}

void qvButtons_H::setPicture(const ButtonPicture& value)
{
    p.Picture = value;
    if (p.PictureSizePixels == 0)
        p.PictureSizePixels = 16;
    RefreshResources(QStringLiteral("Picture"));
    if (!button::isCustom(p.ButtonShape)) {
        RedrawButton();
    } else {
        if (value.isNone()) {
            p.ButtonShape = button::Shape::Rectangle;
        } else if (value.icon) {
            p.ButtonShape = button::Shape::Rectangle;
            designMessage(
                QStringLiteral("Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\n"
                               "Button was changed to Rectangular shaped."));
        }
        m_regionsDirty = true; // the outline follows the picture
        RedrawButton();
    }
    notify("Image");
}

void qvButtons_H::setPictureAlign(int value)
{
    if (value < PictureLeftEdge || value > PictureBottomCenter)
        return;
    const button::PictureAlign align = button::PictureAlign(value);
    // A caption left or right of no picture may still be off centre: a top or bottom picture set
    // again centres it all the same.
    const bool centre =
        align == button::PictureAlign::TopCenter || align == button::PictureAlign::BottomCenter;
    const bool changed =
        align != p.PictureAlign || (centre && p.CaptionAlign != button::CaptionAlign::Center);
    p.PictureAlign = align;
    if (centre)
        p.CaptionAlign = button::CaptionAlign::Center;
    if (changed)
        RedrawButton();
    notify("ImgAlign");
}

void qvButtons_H::setShowFocusRect(bool value)
{
    const bool changed = value != p.ShowFocusRect;
    p.ShowFocusRect = value;
    if (m_state.testFlag(StateDefault)) {
        if (!m_host->designMode()) {
            m_state.setFlag(StateDefault, false);
            RedrawButton();
        } else {
            designMessage(QStringLiteral(
                "The focus rectangle may appear on default buttons ONLY while in design mode, \n"
                "but will not appear when the form is running."));
        }
    } else if (changed) {
        RedrawButton();
    }
    notify("Focus");
}

void qvButtons_H::setValue(bool value)
{
    if (value && p.Mode == button::Mode::Command) {
        designMessage(QStringLiteral("This property is not applicable for command button modes."));
        return;
    }
    const bool toggled = value != p.Value;
    p.Value = value;
    if (value && p.Mode == button::Mode::Option)
        OptionToggle(0); // set again too: a loaded group may hold a second button that is on
    if (toggled)
        RedrawButton();
    notify("Value");
    if (toggled && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

int qvButtons_H::PictureSize() const
{
    const int pixels = p.PictureSizePixels == 0 ? 16 : p.PictureSizePixels;
    return pixels / 8 - 2;
}

void qvButtons_H::setPictureSize(int value)
{
    if (value < PictureSize16 || value > PictureSize48)
        return;
    if (button::isCustom(p.ButtonShape)) {
        designMessage(QStringLiteral("The picture size cannot be changed for Shaped buttons"));
        return;
    }
    if ((value + 2) * 8 != p.PictureSizePixels) {
        p.PictureSizePixels = (value + 2) * 8;
        RedrawButton();
    }
    notify("ImgSize");
}

void qvButtons_H::applyMousePointer()
{
    if (p.MousePointer == 0)
        unsetCursor();
    else if (p.MousePointer == 99)
        p.MouseIcon.isNone() ? unsetCursor() : setCursor(QCursor(QPixmap::fromImage(p.MouseIcon.image)));
    else
        setCursor(cursorShape(p.MousePointer));
}

void qvButtons_H::setMousePointer(int value)
{
    // The window knows the pointers 0 to 15 and 99 (the custom cursor); it refuses others.
    if (value < 0 || (value > 15 && value != 99))
        return;
    p.MousePointer = value;
    applyMousePointer();
    notify("mPointer");
}

void qvButtons_H::setMouseIcon(const ButtonPicture& value)
{
    if (!value.isNone() && !value.icon) {
        // The window takes only icons and cursors for its pointer.
        if (m_host->designMode())
            m_host->messageBox(QStringLiteral("Invalid property value"), MsgButtons::Ok, MsgIcon::Information,
                               QStringLiteral("Select .ico Or .cur Files Only"));
        return;
    }
    p.MouseIcon = value;
    const bool pointerChanged = !value.isNone() && p.MousePointer != 99;
    if (!value.isNone())
        p.MousePointer = 99;
    applyMousePointer();
    notify("mIcon");
    if (pointerChanged)
        notify("mPointer");
}

int qvButtons_H::FontStyle() const
{
    const QFont f = font();
    return (f.bold() ? 2 : 0) | (f.italic() ? 4 : 0) | (f.underline() ? 8 : 0);
}

void qvButtons_H::setFontStyle(int value)
{
    QFont f = font();
    f.setBold(value & 2);
    f.setItalic(value & 4);
    f.setUnderline(value & 8);
    if (f == font()) {
        notify("Font"); // set again: nothing to draw, but the host hears of the setting
        return;
    }
    setFont(ownFont(f)); // the font change refreshes, notifies "Font" and redraws
}

void qvButtons_H::setForeColor(uint32_t value)
{
    if (value == p.ForeColor)
        return;
    p.ForeColor = value;
    if (p.HoverColorLocks == LockNone || p.HoverColorLocks == LockHoverBack)
        setHoverForeColor(value);
    m_delayDrawing = false;
    RedrawButton();
    notify("cFore");
}

void qvButtons_H::setBackColor(uint32_t value)
{
    const bool changed = value != p.BackColor;
    p.BackColor = value;
    // The hover colour that follows is brought in line even for the same colour; its setter
    // changes nothing when it already is.
    if (p.HoverColorLocks == LockNone || p.HoverColorLocks == LockHoverFore)
        setHoverBackColor(p.GradientMode != button::GradientMode::None ? p.GradientColor : value);
    if (changed) {
        RefreshResources(QStringLiteral("BackColor"));
        RedrawButton();
    }
    notify("cBack");
}

void qvButtons_H::setGradientColor(uint32_t value)
{
    const uint32_t oldHover = p.HoverBackColor;
    const bool changed = value != p.GradientColor;
    if ((p.HoverColorLocks == LockNone || p.HoverColorLocks == LockHoverFore) &&
        p.GradientMode != button::GradientMode::None)
        p.HoverBackColor = value;
    p.GradientColor = value;
    if (changed || p.HoverBackColor != oldHover)
        RefreshResources(QStringLiteral("BackColor"));
    if (changed && p.GradientMode != button::GradientMode::None)
        RedrawButton();
    notify("cGradient");
}

void qvButtons_H::setGradientMode(int value)
{
    if (value < 0 || value > 4)
        return;
    const bool changed = button::GradientMode(value) != p.GradientMode;
    const uint32_t oldHover = p.HoverBackColor;
    p.GradientMode = button::GradientMode(value);
    if (p.HoverColorLocks == LockNone || p.HoverColorLocks == LockHoverFore) {
        p.HoverBackColor = p.GradientMode == button::GradientMode::None ? p.BackColor : p.GradientColor;
        if (changed || p.HoverBackColor != oldHover)
            RefreshResources(QStringLiteral("BackColor"));
    }
    if (changed)
        RedrawButton();
    notify("Gradient");
}

void qvButtons_H::setResetDefaultColors(bool value)
{
    if (!value || !m_host->designMode())
        return;
    m_delayDrawing = true;
    p.BackColor = ButtonColors::FaceColor;
    p.ForeColor = ButtonColors::TextColor;
    p.GradientColor = ButtonColors::FaceColor;
    p.GradientMode = button::GradientMode::None;
    setHoverColorLocks(LockNone);
    RefreshResources(QStringLiteral("BackColor"));
    Refresh();
    notify("cGradient");
    notify("cBack");
}

void qvButtons_H::setHoverColorLocks(int value)
{
    p.HoverColorLocks = value;
    if (value == LockNone || value == LockHoverFore) {
        p.HoverBackColor = p.GradientMode != button::GradientMode::None ? p.GradientColor : p.BackColor;
        notify("cBHover");
    }
    if (value == LockNone || value == LockHoverBack) {
        p.HoverForeColor = p.ForeColor;
        notify("cFHover");
    }
    RefreshResources(QStringLiteral("BackColor"));
    notify("LockHover");
}

void qvButtons_H::setHoverForeColor(uint32_t value)
{
    if (value == p.HoverForeColor)
        return;
    p.HoverForeColor = value;
    notify("cFHover");
    if (value != p.ForeColor) {
        if (p.HoverColorLocks == LockNone)
            p.HoverColorLocks = LockHoverFore;
        else if (p.HoverColorLocks == LockHoverBack)
            p.HoverColorLocks = LockBoth;
    }
}

void qvButtons_H::setHoverBackColor(uint32_t value)
{
    if (value == p.HoverBackColor)
        return;
    p.HoverBackColor = value;
    if (value != p.BackColor) {
        if (p.HoverColorLocks == LockNone)
            p.HoverColorLocks = LockHoverBack;
        else if (p.HoverColorLocks == LockHoverFore)
            p.HoverColorLocks = LockBoth;
    }
    RefreshResources(QStringLiteral("BackColor"));
    notify("cBHover");
}

void qvButtons_H::Refresh()
{
    m_delayDrawing = false;
    RedrawButton();
}

void qvButtons_H::DelayDrawing(bool delay)
{
    m_delayDrawing = delay;
    if (!delay)
        Refresh();
}

void qvButtons_H::setEnabled(bool value)
{
    QWidget::setEnabled(value);
    // Under a disabled container the window sees no enabled change; the property changed all the same.
    noteOwnEnabled();
}

void qvButtons_H::noteOwnEnabled()
{
    // The container's enabled state reaches the button too, but only its own is stored.
    const bool ownEnabled = Enabled(); // WA_ForceDisabled is set only by disabling the button itself
    if (ownEnabled != m_ownEnabled) {
        m_ownEnabled = ownEnabled;
        if (!m_reading)
            notify("Enabled");
    }
}

// ---------------------------------------------------------------- window changes

void qvButtons_H::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (p.ButtonStyle == button::Style::Etched && p.Mode == button::Mode::Command &&
            p.ButtonShape < button::Shape::Ellipse) {
            // Style 3 cuts its corners only while enabled.
            m_delayDrawing = true;
            m_regionsDirty = true;
            if (!m_reading) // a load keeps drawing back until it has read everything
                Refresh();
        } else {
            RedrawButton();
        }
        noteOwnEnabled();
    } else if (event->type() == QEvent::FontChange) {
        RefreshResources(QStringLiteral("Font"));
        RedrawButton();
        // A font taken over from the container is no change of the button's own.
        if (!m_reading && testAttribute(Qt::WA_SetFont))
            notify("Font");
    }
}

// ---------------------------------------------------------------- drawing

void qvButtons_H::RedrawButton()
{
    if (m_delayDrawing)
        return;
    m_dirty = true;
    m_moment = Moment{m_state, m_hovering, m_held};
    if (width() <= 0 || height() <= 0)
        return;
    // A custom click moves the window at the press and the release themselves, not at the
    // next paint; that redraw runs the painter now. Moving presents nothing new, so the paint
    // that follows the press paints the pushed look.
    if (customClickMoves())
        renderSurface();
    m_host->refresh(this);
}

bool qvButtons_H::customClickMoves() const
{
    return p.Mode == button::Mode::Command && p.CustomClick >= 1 && button::isCustom(p.ButtonShape);
}

void qvButtons_H::ensureRegions()
{
    if (m_regionsDirty)
        BuildRegions();
}

void qvButtons_H::BuildRegions()
{
    if (width() <= 0 || height() <= 0)
        return; // still out of date: built once the window has a size
    ++m_regionBuilds;
    const ktv::ButtonShape shape = ButtonPainter::BuildRegions(paintState(), m_res);
    if (shape.size.isValid() && !shape.size.isEmpty() && shape.size != size()) {
        // Slanted shapes need room for their cut and custom shapes take their picture's
        // proportions: the button resizes itself without drawing in between.
        const bool delay = m_delayDrawing;
        m_delayDrawing = true;
        resize(shape.size);
        m_delayDrawing = delay;
    }
    // A custom shape whose picture is all key colour leaves no window: an empty mask would mean
    // no mask at all, a black rectangle that takes the clicks.
    const bool empty = button::isCustom(p.ButtonShape) && shape.windowShape.isEmpty() &&
                       !p.Picture.isNone() && !p.Picture.icon;
    setShapeEmpty(empty);
    if (shape.windowShape.isEmpty())
        clearMask();
    else
        setMask(shape.windowShape);
    // Last: growing the window above asks for a new outline, which this one already is.
    m_regionsDirty = false;
}

void qvButtons_H::setShapeEmpty(bool empty)
{
    if (empty == m_shapeEmpty)
        return;
    m_shapeEmpty = empty;
    // With nothing to show the container paints through and the clicks go to what lies below.
    setAttribute(Qt::WA_OpaquePaintEvent, !empty);
    setAttribute(Qt::WA_TransparentForMouseEvents, empty);
    update();
}

void qvButtons_H::RefreshResources(const QString& what)
{
    ButtonPainter::RefreshResources(paintState(), m_res, what);
}

ButtonPaintState qvButtons_H::paintState() const
{
    ButtonPaintState s;
    s.Width = width();
    s.Height = height();
    s.DevicePixelRatio = m_ratio > 0 ? m_ratio : devicePixelRatioF();
    s.ButtonStyle = p.ButtonStyle;
    s.Mode = p.Mode;
    s.Caption = p.Caption;
    s.CaptionAlign = p.CaptionAlign;
    s.CaptionStyle = p.CaptionStyle;
    s.CustomClick = p.CustomClick;
    s.ButtonShape = p.ButtonShape;
    s.Picture = p.Picture.image;
    s.PictureIsIcon = p.Picture.icon;
    s.PictureAlign = p.PictureAlign;
    s.Enabled = isEnabled();
    s.ShowFocusRect = p.ShowFocusRect;
    s.Value = p.Value;
    s.PictureSize = p.PictureSizePixels == 0 ? 16 : p.PictureSizePixels;
    s.Font = font();
    s.ForeColor = p.ForeColor;
    s.BackColor = p.BackColor;
    s.GradientColor = p.GradientColor;
    s.GradientMode = p.GradientMode;
    s.HoverForeColor = p.HoverForeColor;
    s.HoverBackColor = p.HoverBackColor;
    s.StateFlags = m_state;
    s.Hovering = m_hovering;
    s.Held = m_held;
    s.DesignMode = m_host->designMode();
    s.ContainerBackColor = m_containerBack;
    return s;
}

void qvButtons_H::renderSurface()
{
    ensureRegions(); // the painter clips to the regions, and a shape may change the size
    m_dirty = false;
    if (width() <= 0 || height() <= 0)
        return;
    ++m_painterRuns;
    ButtonPaintState state = paintState();
    if (m_moment) {
        state.StateFlags = m_moment->state;
        state.Hovering = m_moment->hovering;
        state.Held = m_moment->held;
    }
    const ButtonRedraw redraw = ButtonPainter::RedrawButton(state, m_res);
    if (!redraw.moveBy.isNull())
        move(pos() + redraw.moveBy); // a custom click moves the pressed button and back
    if (!redraw.image.isNull())
        m_surface = redraw.image;
    // A redraw that presented nothing new (the custom click's move) leaves the image out of
    // date: the paint that follows paints that same moment.
    if (redraw.paintCode == button::PaintCode::Nothing)
        m_dirty = true;
    else
        m_moment.reset();
}

bool qvButtons_H::surfaceFits() const
{
    return !m_surface.isNull() && m_surface.deviceIndependentSize().toSize() == size();
}

const QImage& qvButtons_H::surface()
{
    if ((m_dirty || !surfaceFits()) && !m_delayDrawing)
        renderSurface();
    return m_surface;
}

void qvButtons_H::paintEvent(QPaintEvent*)
{
    // The window's paint notification clears delay drawing; the painter runs only when something
    // changed since its last image (an uncovered window shows that image again).
    m_delayDrawing = false;
    ensureRegions(); // before the painter starts: a new outline may change the window's size
    if (m_shapeEmpty)
        return;
    QPainter painter(this);
    // The image is painted at the pixel density of what is painted on: the window's screen, or
    // the image a grab renders into.
    const QPaintEngine* engine = painter.paintEngine();
    const qreal ratio =
        engine && engine->paintDevice() ? engine->paintDevice()->devicePixelRatio() : devicePixelRatioF();
    if (ratio != m_ratio) {
        m_ratio = ratio;
        m_dirty = true;
    }
    if (m_dirty || !surfaceFits())
        renderSurface();
    if (surfaceFits())
        painter.drawImage(0, 0, m_surface);
    else
        painter.fillRect(rect(), TranslateColor(p.BackColor)); // nothing painted yet
}

} // namespace ktv
