// Shared pieces of the button tests: a form with a designer or a running host on a fake clock
// and mouse, scripted message boxes, and a recorder of the events a button raises.
#pragma once

#include "platform/qt/DesignerHost.h"
#include "platform/qt/ManualCursor.h"
#include "platform/qt/ManualTimers.h"
#include "platform/qt/QtControlHost.h"
#include "support/TestSupport.h"
#include "ui/controls/button/qvButtons_H.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

namespace ktv::test {

// A picture of one colour.
inline QImage filledImage(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Writes every event of a button into one list, in order, with its main argument.
class EventLog {
public:
    void watch(qvButtons_H* b)
    {
        const QString n = b->objectName();
        auto tag = [n](const QString& s) { return n.isEmpty() ? s : n + QLatin1Char('.') + s; };
        QObject::connect(b, &qvButtons_H::MouseDown, b, [this, tag](short& btn, short&, float&, float&) {
            events << tag(QStringLiteral("MouseDown(%1)").arg(btn));
        });
        QObject::connect(b, &qvButtons_H::MouseUp, b, [this, tag](short& btn, short&, float&, float&) {
            events << tag(QStringLiteral("MouseUp(%1)").arg(btn));
        });
        QObject::connect(b, &qvButtons_H::MouseMove, b, [this, tag](short&, short&, float&, float&) {
            events << tag(QStringLiteral("MouseMove"));
        });
        QObject::connect(b, &qvButtons_H::KeyDown, b, [this, tag](short& k, short&) {
            events << tag(QStringLiteral("KeyDown(%1)").arg(k));
        });
        QObject::connect(b, &qvButtons_H::KeyPress, b,
                         [this, tag](short& k) { events << tag(QStringLiteral("KeyPress(%1)").arg(k)); });
        QObject::connect(b, &qvButtons_H::KeyUp, b, [this, tag](short& k, short&) {
            events << tag(QStringLiteral("KeyUp(%1)").arg(k));
        });
        QObject::connect(b, &qvButtons_H::MouseOnButton, b, [this, tag](bool& on) {
            events << tag(on ? QStringLiteral("MouseOnButton(true)")
                             : QStringLiteral("MouseOnButton(false)"));
        });
        QObject::connect(b, &qvButtons_H::Click, b, [this, tag] { events << tag(QStringLiteral("Click")); });
        QObject::connect(b, &qvButtons_H::DoubleClick, b, [this, tag](short& btn) {
            events << tag(QStringLiteral("DoubleClick(%1)").arg(btn));
        });
    }
    QStringList take()
    {
        QStringList out = events;
        events.clear();
        return out;
    }
    QStringList events;
};

// A form hosted by a designer (design mode by default).
class DesignerForm : public ::testing::Test {
protected:
    qvButtons_H* place(QWidget* parent = nullptr)
    {
        auto* b = new qvButtons_H(parent ? parent : &form, &host);
        host.place(*b);
        b->resize(90, 26);
        return b;
    }

    ScriptedMessageBoxes boxes{ScriptedMessageBoxes::Notices::Acknowledged}; // the refusals are the subject
    DesignerHost host;
    QWidget form;
};

// A running form whose host reads a fake clock and a fake mouse.
class RunningForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.resize(400, 300);
        form.show();
    }
    qvButtons_H* place(const char* name, int mode = qvButtons_H::ModeCommand, QWidget* parent = nullptr)
    {
        auto* b = new qvButtons_H(parent ? parent : &form, &host);
        b->setObjectName(QString::fromLatin1(name));
        b->InitProperties();
        b->setMode(mode);
        b->setGeometry(10 + 100 * placed++ % 300, 10, 90, 26);
        b->show();
        log.watch(b);
        return b;
    }

    ScriptedMessageBoxes boxes;
    ManualTimers clock;
    ManualCursor mouse;
    QtControlHost host{clock, mouse};
    EventLog log;
    QWidget form;
    int placed = 0;
};

} // namespace ktv::test
