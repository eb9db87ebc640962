// The owner-drawn push, check and option button: properties and their persistence, life cycle,
// mouse and keyboard interaction, option groups and hover tracking. Drawing goes through one
// redraw operation that paints an off-screen surface and hands it to the host.
#pragma once

#include "platform/qt/HostedControl.h"
#include "ui/controls/button/ButtonPicture.h"
#include "ui/controls/button/paint/ButtonPaintState.h"
#include "ui/controls/button/paint/ButtonResources.h"
#include "ui/controls/button/paint/ButtonTypes.h"

#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace ktv {

class ControlHost;

class qvButtons_H : public QWidget, public HostedControl {
    Q_OBJECT
    // The public properties in their order, for tools and tests that walk metaObject(). The
    // enumerated ones have their types; their stored values are the whole numbers below.
    Q_PROPERTY(ktv::button::Style ButtonStyle READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(ktv::button::Mode Mode READ mode WRITE setMode)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(ktv::button::CaptionAlign CaptionAlign READ captionAlign WRITE setCaptionAlign)
    Q_PROPERTY(ktv::button::CaptionStyle CaptionStyle READ captionStyle WRITE setCaptionStyle)
    Q_PROPERTY(int CustomClick READ CustomClick WRITE setCustomClick)
    Q_PROPERTY(ktv::button::Shape ButtonShape READ buttonShape WRITE setButtonShape)
    Q_PROPERTY(ktv::ButtonPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(ktv::button::PictureAlign PictureAlign READ pictureAlign WRITE setPictureAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(ktv::ButtonPicture MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(int FontStyle READ FontStyle WRITE setFontStyle)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(uint GradientColor READ GradientColor WRITE setGradientColor)
    Q_PROPERTY(ktv::button::GradientMode GradientMode READ gradientMode WRITE setGradientMode)
    Q_PROPERTY(bool ResetDefaultColors READ ResetDefaultColors WRITE setResetDefaultColors)
    Q_PROPERTY(int HoverColorLocks READ HoverColorLocks WRITE setHoverColorLocks)
    Q_PROPERTY(uint HoverForeColor READ HoverForeColor WRITE setHoverForeColor)
    Q_PROPERTY(uint HoverBackColor READ HoverBackColor WRITE setHoverBackColor)

public:
    // The named whole numbers of the int properties, one for each value of its type.
    static constexpr int ModeCommand = button::toInt(button::Mode::Command);
    static constexpr int ModeCheck = button::toInt(button::Mode::Check);
    static constexpr int ModeOption = button::toInt(button::Mode::Option);
    static constexpr int CaptionLeft = button::toInt(button::CaptionAlign::Left);
    static constexpr int CaptionRight = button::toInt(button::CaptionAlign::Right);
    static constexpr int CaptionCenter = button::toInt(button::CaptionAlign::Center);
    static constexpr int CaptionFlat = button::toInt(button::CaptionStyle::Flat);
    static constexpr int CaptionEmbossed = button::toInt(button::CaptionStyle::Embossed);
    static constexpr int CaptionEngraved = button::toInt(button::CaptionStyle::Engraved);
    static constexpr int ShapeRectangle = button::toInt(button::Shape::Rectangle);
    static constexpr int PictureLeftEdge = button::toInt(button::PictureAlign::LeftEdge);
    static constexpr int PictureLeftOfCaption = button::toInt(button::PictureAlign::LeftOfCaption);
    static constexpr int PictureRightEdge = button::toInt(button::PictureAlign::RightEdge);
    static constexpr int PictureRightOfCaption = button::toInt(button::PictureAlign::RightOfCaption);
    static constexpr int PictureTopCenter = button::toInt(button::PictureAlign::TopCenter);
    static constexpr int PictureBottomCenter = button::toInt(button::PictureAlign::BottomCenter);
    enum PictureSizeValue { PictureSize16 = 0, PictureSize24, PictureSize32, PictureSize40, PictureSize48 };
    enum HoverLockValue { LockNone = 0, LockHoverBack = 1, LockHoverFore = 2, LockBoth = 3 };
    static constexpr button::State StateDefault = button::State::Default;
    static constexpr button::State StatePressed = button::State::Pressed;
    static constexpr button::State StateHover = button::State::Hover;
    static constexpr int kHoverTimerId = 237;
    static constexpr int kHoverIntervalMs = 50;

    // A button hosted by `host` (the running-form host when none is given). Its properties keep
    // their zero values until the host runs InitProperties (a new button) or ReadProperties.
    explicit qvButtons_H(QWidget* parent = nullptr, ControlHost* host = nullptr);
    ~qvButtons_H() override;

    // --- public properties (getter, setter); the enumerated ones as stored whole numbers and
    // as their types
    int ButtonStyle() const { return button::toInt(p.ButtonStyle); }
    void setButtonStyle(int value);
    button::Style buttonStyle() const { return p.ButtonStyle; }
    void setButtonStyle(button::Style value) { setButtonStyle(button::toInt(value)); }
    int Mode() const { return button::toInt(p.Mode); }
    void setMode(int value);
    button::Mode mode() const { return p.Mode; }
    void setMode(button::Mode value) { setMode(button::toInt(value)); }
    QString Caption() const { return p.Caption; }
    void setCaption(const QString& value);
    int CaptionAlign() const { return button::toInt(p.CaptionAlign); }
    void setCaptionAlign(int value);
    button::CaptionAlign captionAlign() const { return p.CaptionAlign; }
    void setCaptionAlign(button::CaptionAlign value) { setCaptionAlign(button::toInt(value)); }
    int CaptionStyle() const { return button::toInt(p.CaptionStyle); }
    void setCaptionStyle(int value);
    button::CaptionStyle captionStyle() const { return p.CaptionStyle; }
    void setCaptionStyle(button::CaptionStyle value) { setCaptionStyle(button::toInt(value)); }
    int CustomClick() const { return p.CustomClick; }
    void setCustomClick(int value);
    int ButtonShape() const { return button::toInt(p.ButtonShape); }
    void setButtonShape(int value);
    button::Shape buttonShape() const { return p.ButtonShape; }
    void setButtonShape(button::Shape value) { setButtonShape(button::toInt(value)); }
    const ButtonPicture& Picture() const { return p.Picture; }
    void setPicture(const ButtonPicture& value);
    int PictureAlign() const { return button::toInt(p.PictureAlign); }
    void setPictureAlign(int value);
    button::PictureAlign pictureAlign() const { return p.PictureAlign; }
    void setPictureAlign(button::PictureAlign value) { setPictureAlign(button::toInt(value)); }
    // The button's own enabled state; a disabled container also disables its input (isEnabled)
    // without changing this property. Setting it tells the host even while the container is
    // disabled, when the window itself sees no change.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setEnabled(bool value);
    bool ShowFocusRect() const { return p.ShowFocusRect; }
    void setShowFocusRect(bool value);
    bool Value() const { return p.Value; }
    void setValue(bool value);
    int PictureSize() const;
    void setPictureSize(int value);
    int MousePointer() const { return p.MousePointer; }
    void setMousePointer(int value);
    const ButtonPicture& MouseIcon() const { return p.MouseIcon; }
    void setMouseIcon(const ButtonPicture& value);
    // Set with QWidget::setFont. A snapshot: the button does not follow the container's font.
    QFont Font() const { return font(); }
    int FontStyle() const;
    void setFontStyle(int value);
    uint32_t ForeColor() const { return p.ForeColor; }
    void setForeColor(uint32_t value);
    uint32_t BackColor() const { return p.BackColor; }
    void setBackColor(uint32_t value);
    uint32_t GradientColor() const { return p.GradientColor; }
    void setGradientColor(uint32_t value);
    int GradientMode() const { return button::toInt(p.GradientMode); }
    void setGradientMode(int value);
    button::GradientMode gradientMode() const { return p.GradientMode; }
    void setGradientMode(button::GradientMode value) { setGradientMode(button::toInt(value)); }
    bool ResetDefaultColors() const { return false; }
    void setResetDefaultColors(bool value);
    int HoverColorLocks() const { return p.HoverColorLocks; }
    void setHoverColorLocks(int value);
    uint32_t HoverForeColor() const { return p.HoverForeColor; }
    void setHoverForeColor(uint32_t value);
    uint32_t HoverBackColor() const { return p.HoverBackColor; }
    void setHoverBackColor(uint32_t value);

    void Refresh();
    void DelayDrawing(bool delay);

    // --- life cycle
    QWidget* controlWindow() override { return this; }
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void AmbientChanged(const QString& name) override;
    void AccessKeyPress(int keyAscii) override;
    void Show();
    void Resize();
    void Terminate();

    // Drag and drop: 0 no drops, 1 drops raise OLEDragOver and OLEDragDrop.
    void setOLEDropMode(int mode);
    // Starts a drag from the button (OLEStartDrag, OLEGiveFeedback, OLECompleteDrag).
    void OLEDrag();

    // Run by the hover timer's callback.
    void CheckMouseOver(int timerId);

    // --- run-time state, read only
    button::States stateFlags() const { return m_state; }
    short lastMouseButton() const { return m_lastButton; }
    bool hovering() const { return m_hovering; }
    bool held() const { return m_held; }
    bool delayDrawing() const { return m_delayDrawing; }
    QWidget* container() const;
    uint32_t containerBackRGB() const { return m_containerBack; }
    ControlHost& host() const { return *m_host; }
    // The button's image as the window shows it; a change not painted yet is painted first.
    const QImage& surface();
    // How often the painter ran: once per change that reached the screen.
    int painterRuns() const { return m_painterRuns; }
    // How often the window's outline was built: once per change of shape, style or size.
    int regionBuilds() const { return m_regionBuilds; }
    // Everything the painter needs for one redraw, taken from the properties and the state.
    ButtonPaintState paintState() const;

signals:
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseOnButton(bool& OnButton);
    void Click();
    void DoubleClick(short& Button);
    void OLECompleteDrag(int& Effect);
    void OLEDragDrop(const QMimeData* Data, int& Effect, short& Button, short& Shift, float& X, float& Y);
    void OLEDragOver(const QMimeData* Data, int& Effect, short& Button, short& Shift, float& X, float& Y,
                     short& State);
    void OLEGiveFeedback(int& Effect, bool& DefaultCursors);
    void OLESetData(QMimeData* Data, short& DataFormat);
    void OLEStartDrag(QMimeData* Data, int& AllowedEffects);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The persisted and drawn properties, under their own names, as the painter takes them.
    struct Properties {
        button::Style ButtonStyle = button::Style::Classic;
        button::Mode Mode = button::Mode::Command;
        QString Caption;
        button::CaptionAlign CaptionAlign = button::CaptionAlign::Left;
        button::CaptionStyle CaptionStyle = button::CaptionStyle::Flat;
        int CustomClick = 0;
        button::Shape ButtonShape = button::Shape::Rectangle;
        ButtonPicture Picture;
        button::PictureAlign PictureAlign = button::PictureAlign::LeftEdge;
        bool ShowFocusRect = false;
        bool Value = false;
        int PictureSizePixels = 0; // held as pixels; 0 is used as 16
        int MousePointer = 0;
        ButtonPicture MouseIcon;
        uint32_t ForeColor = 0;
        uint32_t BackColor = 0;
        uint32_t GradientColor = 0;
        button::GradientMode GradientMode = button::GradientMode::None;
        int HoverColorLocks = LockNone;
        uint32_t HoverForeColor = 0;
        uint32_t HoverBackColor = 0;
    };

    // drawing (the painter's entry points)
    // Marks the image out of date, keeps the state flags of this moment for it and asks the
    // host for a repaint; paintEvent runs the painter on them.
    void RedrawButton();
    void BuildRegions();
    void ensureRegions(); // builds the outline when a change left it out of date
    void RefreshResources(const QString& what);
    void renderSurface();     // runs the painter now
    bool surfaceFits() const; // the image has the window's logical size
    bool customClickMoves() const;
    void setShapeEmpty(bool empty);

    // interaction (qvButtons_HInput.cpp)
    void onMouseDown(short button, short shift, float x, float y);
    void onMouseMove(short button, short shift, float x, float y);
    void onMouseUp(short button, short shift, float x, float y);
    void onClick();
    void onKeyDown(short keyCode, short shift);
    void onKeyUp(short keyCode, short shift);
    void onGotFocus();
    void startHover(short button);
    bool OptionToggle(int action);

    void notify(const char* storedName);
    static QFont ownFont(QFont font);
    void noteOwnEnabled();
    void designMessage(const QString& text);
    bool pushed() const { return m_state.testFlags(StatePressed | StateHover); }
    void applyMousePointer();

    ControlHost* m_host;
    Properties p;
    button::States m_state;
    short m_lastButton = 0;
    bool m_hovering = false;
    bool m_held = false;
    bool m_delayDrawing = false;
    bool m_reading = false; // loading: the window's own change events notify nothing
    bool m_afterDoubleClick = false;
    bool m_terminated = false;
    bool m_ownEnabled = true; // the window's own enabled state, as last stored
    QPointer<QWidget> m_container;
    uint32_t m_containerBack = 0; // RGB
    QImage m_surface;
    bool m_dirty = true; // m_surface does not show the properties and state as they are
    // The state flags of the moment the last redraw was asked for, until it is painted. A look
    // that lasts only for that redraw (Space held with the mouse elsewhere, a designer's one-off
    // hover look) is gone by the time the paint arrives, yet it is what that redraw shows.
    struct Moment {
        button::States state;
        bool hovering;
        bool held;
    };
    std::optional<Moment> m_moment;
    bool m_shapeEmpty = false; // a custom shape with nothing left of its picture: no window at all
    int m_painterRuns = 0;
    bool m_regionsDirty = true; // the window's outline does not follow the shape, style or size yet
    int m_regionBuilds = 0;
    qreal m_ratio = 0; // the device pixel ratio of the last paint (0: none yet, the screen's)
    // The drag over the button: its data (the leave notification carries none of its own), the
    // effect last agreed with the host, and whether the move that follows the enter is still due.
    QPointer<const QMimeData> m_dragData;
    int m_dragEffect = 0;
    bool m_dragEntering = false;
    ButtonResources m_res; // the painter's surface, regions, derived colours and layout
};

} // namespace ktv
