// The button's mouse and keyboard handling, its option group on the container window and the
// hover tracking. Every handler works on the platform's codes: mouse buttons 1 left, 2 right,
// 4 middle; Shift 1, Ctrl 2, Alt 4; virtual-key codes for keys.
#include "ui/controls/button/qvButtons_H.h"

#include "platform/qt/ControlHost.h"
#include "platform/qt/HostCursor.h"
#include "platform/qt/HostTimers.h"
#include "platform/qt/WindowProperties.h"
#include "ui/controls/button/VirtualKeys.h"
#include "ui/controls/button/modQvTimer.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <functional>

namespace ktv {

namespace {

constexpr short kVkShift = 16, kVkSpace = 32, kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40;

short buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

short buttonsCode(Qt::MouseButtons b)
{
    return short((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
                 (b & Qt::MiddleButton ? 4 : 0));
}

short shiftCode(Qt::KeyboardModifiers m)
{
    return short((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                 (m & Qt::AltModifier ? 4 : 0));
}

bool isArrow(short key) { return key == kVkLeft || key == kVkUp || key == kVkRight || key == kVkDown; }

// The scan codes the arrow keys carry in a key message.
quint32 arrowScanCode(short key)
{
    switch (key) {
    case kVkRight: return 0x4D;
    case kVkDown: return 0x50;
    case kVkLeft: return 0x4B;
    default: return 0x48; // Up
    }
}

QByteArray memberName(int index) { return "qv_Obj" + QByteArray::number(index); }

} // namespace

// ---------------------------------------------------------------- mouse

void qvButtons_H::onMouseDown(short button, short shift, float x, float y)
{
    m_lastButton = button;
    if (button == 1) {
        m_state |= StatePressed;
        m_held = true;
        m_delayDrawing = false;
        RedrawButton();
        // The press already holds the mouse for this window until the release (Qt's implicit grab).
    }
    emit MouseDown(button, shift, x, y);
}

void qvButtons_H::startHover(short button)
{
    HostCursor& cursor = m_host->cursor();
    if (cursor.windowAt(cursor.cursorPos()) != this)
        return;
    QPointer<qvButtons_H> self(this);
    m_state |= StateHover;
    bool on = true;
    emit MouseOnButton(on);
    if (!self)
        return;
    SetProp(this, "qv_ClassID", QVariant::fromValue<QObject*>(this));
    SetProp(this, "qv_TimerID", kHoverTimerId);
    if (!m_host->timers().setTimer(this, kHoverTimerId, kHoverIntervalMs, &HoverTimerProc))
        return; // hover tracking could not start; the move itself is still reported
    m_hovering = true;
    m_delayDrawing = false;
    if (button == 1)
        m_held = true;
    RedrawButton();
}

void qvButtons_H::onMouseMove(short button, short shift, float x, float y)
{
    QPointer<qvButtons_H> self(this);
    if (!m_hovering)
        startHover(button);
    if (self)
        emit MouseMove(button, shift, x, y);
}

void qvButtons_H::onMouseUp(short button, short shift, float x, float y)
{
    m_held = false;
    if (button == 1) {
        m_state.setFlag(StatePressed, false);
        m_delayDrawing = false;
        if (p.Mode == button::Mode::Command)
            RedrawButton(); // the other modes redraw with the Value change of the click that follows
    }
    QPointer<qvButtons_H> self(this);
    emit MouseUp(button, shift, x, y);
    if (self)
        m_lastButton = button;
}

void qvButtons_H::onClick()
{
    if (m_lastButton != 1)
        return;
    if (p.Mode == button::Mode::Command) {
        emit Click();
        return;
    }
    if (p.Mode == button::Mode::Option && p.Value)
        return;
    QPointer<qvButtons_H> self(this);
    setValue(!p.Value);
    if (self)
        emit Click();
}

void qvButtons_H::mousePressEvent(QMouseEvent* event)
{
    m_afterDoubleClick = false;
    onMouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(event->position().x()),
                float(event->position().y()));
}

void qvButtons_H::mouseMoveEvent(QMouseEvent* event)
{
    onMouseMove(buttonsCode(event->buttons()), shiftCode(event->modifiers()), float(event->position().x()),
                float(event->position().y()));
}

void qvButtons_H::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QPointer<qvButtons_H> self(this);
    onMouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(event->position().x()),
              float(event->position().y()));
    if (!self)
        return;
    // The window's click: a press and release over the button. The release that ends a double
    // click brings no click of its own.
    const bool afterDoubleClick = m_afterDoubleClick;
    m_afterDoubleClick = false;
    const bool inside = rect().contains(pos) && (mask().isEmpty() || mask().contains(pos));
    if (inside && !afterDoubleClick)
        onClick();
}

void qvButtons_H::mouseDoubleClickEvent(QMouseEvent* event)
{
    const float x = float(event->position().x());
    const float y = float(event->position().y());
    QPointer<qvButtons_H> self(this);
    short button = m_lastButton;
    emit DoubleClick(button);
    if (!self)
        return;
    m_afterDoubleClick = true;
    if (m_lastButton == 1) {
        onMouseDown(1, 0, x, y);
        if (self)
            m_lastButton = -1; // a click arriving before the next release is not one
    } else {
        // The second press of another button: reported with the button that made it.
        short second = buttonCode(event->button());
        short shift = shiftCode(event->modifiers());
        float fx = x, fy = y;
        emit MouseDown(second, shift, fx, fy);
    }
}

// ---------------------------------------------------------------- keyboard

void qvButtons_H::onKeyDown(short keyCode, short shift)
{
    if (isArrow(keyCode)) {
        // Arrow keys belong to the container (moving between the controls); it gets the same key.
        if (QWidget* target = container()) {
            const auto qtKey = keyCode == kVkLeft    ? Qt::Key_Left
                               : keyCode == kVkUp    ? Qt::Key_Up
                               : keyCode == kVkRight ? Qt::Key_Right
                                                     : Qt::Key_Down;
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier,
                                                              arrowScanCode(keyCode), quint32(keyCode), 0,
                                                              QString(), false, 1));
        }
        return;
    }
    if (keyCode == kVkSpace && !m_state.testFlag(StatePressed)) {
        m_state |= StatePressed | StateHover;
        m_held = true;
        RedrawButton();
        if (!m_hovering)
            m_state.setFlag(StateHover, false);
    }
    emit KeyDown(keyCode, shift);
}

void qvButtons_H::onKeyUp(short keyCode, short shift)
{
    m_held = false;
    if (keyCode == kVkSpace && m_state.testFlag(StatePressed)) {
        m_state.setFlag(StatePressed, false);
        m_lastButton = 1;
        QPointer<qvButtons_H> self(this);
        if (p.Mode == button::Mode::Command) {
            RedrawButton();
            onClick();
            if (self)
                emit KeyUp(keyCode, shift);
        } else {
            emit KeyUp(keyCode, shift);
            if (self)
                onClick();
        }
        return;
    }
    if (isArrow(keyCode)) {
        // An option button reached with an arrow key turns itself on.
        if (p.Mode == button::Mode::Option && !p.Value) {
            m_lastButton = 1;
            onClick();
        }
        return;
    }
    if (keyCode == kVkShift)
        return;
    emit KeyUp(keyCode, shift);
}

void qvButtons_H::keyPressEvent(QKeyEvent* event)
{
    const short key = virtualKeyCode(event);
    QPointer<qvButtons_H> self(this);
    onKeyDown(key, shiftCode(event->modifiers()));
    event->accept();
    if (self && !isArrow(key) && !event->text().isEmpty()) {
        short ascii = short(event->text().at(0).unicode());
        emit KeyPress(ascii);
    }
}

void qvButtons_H::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its key-down only, as on the platform.
    if (event->isAutoRepeat())
        return;
    onKeyUp(virtualKeyCode(event), shiftCode(event->modifiers()));
    event->accept();
}

void qvButtons_H::AccessKeyPress(int keyAscii)
{
    if (!isEnabled())
        return; // a disabled button takes no input
    if ((keyAscii == 13 || keyAscii == 27) && p.Mode != button::Mode::Command)
        return;
    if (!m_state.testFlag(StateDefault))
        RedrawButton();
    m_lastButton = 1;
    onClick();
}

void qvButtons_H::onGotFocus()
{
    // Tabbing into a group where nothing is selected selects the focused option.
    if (p.Mode == button::Mode::Option && !p.Value && !OptionToggle(2)) {
        m_lastButton = 1;
        onClick();
    }
}

void qvButtons_H::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    onGotFocus();
}

// ---------------------------------------------------------------- option groups

bool qvButtons_H::OptionToggle(int action)
{
    bool result = false;
    QWidget* group = container();
    if (!group)
        return result;
    const int count = GetProp(group, "qv_OptCount").toInt();
    auto member = [group](int index) {
        return qobject_cast<qvButtons_H*>(GetProp(group, memberName(index).constData()).value<QObject*>());
    };

    if ((action == 1 || count >= 1) && p.Value) {
        for (int i = 1; i <= count; ++i) {
            qvButtons_H* other = member(i);
            if (other && other != this)
                other->setValue(false);
        }
    }

    switch (action) {
    case 1: {
        // Joining twice (a second load) would leave a stale entry behind when the button leaves.
        for (int i = 1; i <= count; ++i)
            if (member(i) == this)
                return result;
        SetProp(group, "qv_OptCount", count + 1);
        SetProp(group, memberName(count + 1).constData(), QVariant::fromValue<QObject*>(this));
        break;
    }
    case -1: {
        int index = 0;
        for (int i = 1; i <= count && index == 0; ++i)
            if (member(i) == this)
                index = i;
        if (index == 0)
            break;
        for (int i = index; i < count; ++i)
            SetProp(group, memberName(i).constData(), GetProp(group, memberName(i + 1).constData()));
        RemoveProp(group, memberName(count).constData());
        if (count == 1)
            RemoveProp(group, "qv_OptCount");
        else
            SetProp(group, "qv_OptCount", count - 1);
        break;
    }
    case 2:
        for (int i = 1; i <= count; ++i) {
            qvButtons_H* m = member(i);
            if (m && m->Value()) {
                result = true;
                break;
            }
        }
        break;
    default: break;
    }
    return result;
}

// ---------------------------------------------------------------- hover tracking

void qvButtons_H::CheckMouseOver(int timerId)
{
    HostCursor& cursor = m_host->cursor();
    if (cursor.windowAt(cursor.cursorPos()) == this)
        return;
    m_host->timers().killTimer(this, timerId);
    m_state.setFlag(StateHover, false);
    m_hovering = false;
    m_delayDrawing = false;
    QPointer<qvButtons_H> self(this);
    // Raised also when the button was disabled meanwhile: the host heard the mouse come and must
    // hear it go.
    bool on = false;
    emit MouseOnButton(on);
    if (!self)
        return;
    m_held = false;
    RedrawButton();
}

// ---------------------------------------------------------------- drag and drop

void qvButtons_H::setOLEDropMode(int mode) { setAcceptDrops(mode != 0); }

namespace {
// Drag data whose formats may be declared empty at the start of a drag and filled only when a
// drop target asks for them (the button raises OLESetData then).
class DeferredDragData final : public QMimeData {
public:
    std::function<void(QMimeData*, short)> onRequest;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        // Only a declared format is asked for, and by its stored value: data() would come back here
        // and never end.
        if (onRequest && hasFormat(mimeType) &&
            QMimeData::retrieveData(mimeType, QMetaType::fromType<QByteArray>()).toByteArray().isEmpty())
            onRequest(const_cast<DeferredDragData*>(this), formatCode(mimeType));
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    // The platform's clipboard format numbers: 1 text, 2 bitmap, 15 file list, 0xBF01 rich text.
    static short formatCode(const QString& mimeType)
    {
        if (mimeType == QLatin1String("text/plain"))
            return 1;
        if (mimeType.startsWith(QLatin1String("image/")))
            return 2;
        if (mimeType == QLatin1String("text/uri-list"))
            return 15;
        if (mimeType == QLatin1String("text/rtf"))
            return short(0xBF01);
        return 0;
    }
};
} // namespace

void qvButtons_H::OLEDrag()
{
    auto* data = new DeferredDragData;
    data->onRequest = [this](QMimeData* d, short format) { emit OLESetData(d, format); };
    int allowed = 1 | 2; // copy and move
    emit OLEStartDrag(data, allowed);
    Qt::DropActions actions;
    if (allowed & 1)
        actions |= Qt::CopyAction;
    if (allowed & 2)
        actions |= Qt::MoveAction;
    if (allowed & 4)
        actions |= Qt::LinkAction;
    // A drag that allows no effect or carries no format is called off before it starts: no target
    // would take it, and the source learns that nothing happened.
    if (!actions || data->formats().isEmpty()) {
        delete data;
        int none = 0;
        emit OLECompleteDrag(none);
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    connect(drag, &QDrag::actionChanged, this, [this](Qt::DropAction action) {
        int effect = int(action);
        bool defaultCursors = true;
        emit OLEGiveFeedback(effect, defaultCursors);
    });
    int effect = int(drag->exec(actions));
    emit OLECompleteDrag(effect);
}

namespace {
// The drop effects of a drag event: 1 copy, 2 move, 4 link.
int effectOf(const QDropEvent* e)
{
    const Qt::DropActions a = e->possibleActions();
    return (a & Qt::CopyAction ? 1 : 0) | (a & Qt::MoveAction ? 2 : 0) | (a & Qt::LinkAction ? 4 : 0);
}
// Gives the drag the effect the host chose. Where the host left several, the one the user asked
// for (with the modifier keys) wins: a copy asked for must never end as a move that deletes the
// source's data.
void applyEffect(QDropEvent* e, int effect)
{
    const Qt::DropAction proposed = e->proposedAction();
    const int proposedBit = proposed == Qt::CopyAction   ? 1
                            : proposed == Qt::MoveAction ? 2
                            : proposed == Qt::LinkAction ? 4
                                                         : 0;
    if (effect & proposedBit)
        e->setDropAction(proposed);
    else if (effect & 2)
        e->setDropAction(Qt::MoveAction);
    else if (effect & 1)
        e->setDropAction(Qt::CopyAction);
    else if (effect & 4)
        e->setDropAction(Qt::LinkAction);
    if (effect & 7)
        e->accept();
    else
        e->ignore();
}
} // namespace

void qvButtons_H::dragEnterEvent(QDragEnterEvent* event)
{
    m_dragData = event->mimeData();
    int effect = effectOf(event);
    short button = buttonsCode(event->buttons()), shift = shiftCode(event->modifiers()), state = 0; // enter
    float x = float(event->position().x()), y = float(event->position().y());
    emit OLEDragOver(event->mimeData(), effect, button, shift, x, y, state);
    m_dragEffect = effect;
    applyEffect(event, effect);
    // Taken in any case: a button that refuses the drop where it entered still hears about the
    // moves over it, and may take the drop further on.
    event->accept();
    m_dragEntering = true;
}

void qvButtons_H::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dragEntering) {
        // The move that always follows the enter, at the same place: the enter answered it.
        m_dragEntering = false;
        applyEffect(event, m_dragEffect);
        return;
    }
    int effect = effectOf(event);
    short button = buttonsCode(event->buttons()), shift = shiftCode(event->modifiers()), state = 2; // over
    float x = float(event->position().x()), y = float(event->position().y());
    emit OLEDragOver(event->mimeData(), effect, button, shift, x, y, state);
    m_dragEffect = effect;
    applyEffect(event, effect);
}

void qvButtons_H::dragLeaveEvent(QDragLeaveEvent*)
{
    m_dragEntering = false;
    int effect = 0;
    short button = 0, shift = 0, state = 1; // leave
    float x = 0, y = 0;
    const QMimeData* data = m_dragData.data();
    m_dragData.clear();
    emit OLEDragOver(data, effect, button, shift, x, y, state);
}

void qvButtons_H::dropEvent(QDropEvent* event)
{
    m_dragEntering = false;
    if (!(m_dragEffect & 7)) {
        // Released where the button refused the drop: the drag just leaves it.
        event->ignore();
        QDragLeaveEvent leave;
        dragLeaveEvent(&leave);
        return;
    }
    m_dragData.clear();
    int effect = effectOf(event);
    short button = buttonsCode(event->buttons()), shift = shiftCode(event->modifiers());
    float x = float(event->position().x()), y = float(event->position().y());
    emit OLEDragDrop(event->mimeData(), effect, button, shift, x, y);
    applyEffect(event, effect);
}

} // namespace ktv
