// Drag and drop on a button: the drag notifications it passes to the host, the effect the host
// chooses, and drags the button itself starts.
#include "ButtonTestSupport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <functional>
#include <memory>

using namespace ktv;
using namespace ktv::test;

namespace {

// Records the drag notifications of one button; `answer` decides the effect for each state.
struct DropLog {
    QStringList events;
    QList<const QMimeData*> data;
    std::function<int(short state, int effect)> answer = [](short, int effect) { return effect; };

    void watch(qvButtons_H* b)
    {
        QObject::connect(
            b, &qvButtons_H::OLEDragOver, b,
            [this](const QMimeData* d, int& effect, short&, short&, float&, float&, short& state) {
                events << QStringLiteral("Over(%1,%2)").arg(state).arg(effect);
                data << d;
                effect = answer(state, effect);
            });
        QObject::connect(b, &qvButtons_H::OLEDragDrop, b,
                         [this](const QMimeData* d, int& effect, short&, short&, float&, float&) {
                             events << QStringLiteral("Drop(%1)").arg(effect);
                             data << d;
                             effect = answer(3, effect);
                         });
    }
};

class ButtonDragDrop : public RunningForm {
protected:
    void SetUp() override
    {
        RunningForm::SetUp();
        b = place("Cmd");
        b->setOLEDropMode(1);
        drops.watch(b);
        mime.setText(QStringLiteral("metin"));
    }
    bool enter(Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction, Qt::KeyboardModifiers mods = {})
    {
        QDragEnterEvent e(QPoint(5, 5), actions, &mime, Qt::LeftButton, mods);
        QApplication::sendEvent(b, &e);
        // Qt always follows an enter with a move at the same place.
        QDragMoveEvent m(QPoint(5, 5), actions, &mime, Qt::LeftButton, mods);
        m.setAccepted(e.isAccepted());
        QApplication::sendEvent(b, &m);
        return e.isAccepted();
    }
    bool move(Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction, Qt::KeyboardModifiers mods = {})
    {
        QDragMoveEvent m(QPoint(8, 6), actions, &mime, Qt::LeftButton, mods);
        QApplication::sendEvent(b, &m);
        return m.isAccepted();
    }
    QDropEvent* drop(Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
                     Qt::KeyboardModifiers mods = {})
    {
        dropEvent = std::make_unique<QDropEvent>(QPointF(8, 6), actions, &mime, Qt::NoButton, mods);
        QApplication::sendEvent(b, dropEvent.get());
        return dropEvent.get();
    }

    qvButtons_H* b = nullptr;
    DropLog drops;
    QMimeData mime;
    std::unique_ptr<QDropEvent> dropEvent;
};

} // namespace

TEST_F(ButtonDragDrop, EnterMovesAndLeaveEachRaiseOneDragOverWithTheDragsData)
{
    enter();
    move();
    QDragLeaveEvent leave;
    QApplication::sendEvent(b, &leave);
    EXPECT_EQ(drops.events, (QStringList{"Over(0,3)", "Over(2,3)", "Over(1,0)"}));
    // The leave carries the same data as the enter, never none.
    EXPECT_EQ(drops.data, (QList<const QMimeData*>{&mime, &mime, &mime}));
}

TEST_F(ButtonDragDrop, RefusedWhereItEntersTheButtonStillHearsTheMovesAndTakesTheDropLater)
{
    drops.answer = [](short state, int effect) { return state == 0 ? 0 : effect; };
    EXPECT_TRUE(enter()); // the window keeps the drag so that moves come
    EXPECT_TRUE(move());
    QDropEvent* d = drop();
    EXPECT_TRUE(d->isAccepted());
    EXPECT_EQ(drops.events, (QStringList{"Over(0,3)", "Over(2,3)", "Drop(3)"}));
}

TEST_F(ButtonDragDrop, ReleasedWhereTheDropIsRefusedTheDragOnlyLeaves)
{
    drops.answer = [](short state, int effect) { return state == 2 ? 0 : effect; };
    enter();
    EXPECT_FALSE(move());
    QDropEvent* d = drop();
    EXPECT_FALSE(d->isAccepted());
    EXPECT_EQ(drops.events, (QStringList{"Over(0,3)", "Over(2,3)", "Over(1,0)"}));
}

struct EffectRow {
    const char* name;
    Qt::KeyboardModifiers mods;
    int hostEffect; // -1: left as offered
};

class DropEffects : public ButtonDragDrop, public ::testing::WithParamInterface<EffectRow> {};

TEST_P(DropEffects, TheEffectAskedForWinsOverTheOthersTheHostLeftOpen)
{
    const EffectRow c = GetParam();
    drops.events.clear();
    drops.answer = [c](short, int effect) { return c.hostEffect < 0 ? effect : c.hostEffect; };
    enter(Qt::CopyAction | Qt::MoveAction, c.mods);
    QDropEvent* d = drop(Qt::CopyAction | Qt::MoveAction, c.mods);
    ASSERT_TRUE(d->isAccepted());
    const Qt::DropAction expected = c.hostEffect == 2   ? Qt::MoveAction
                                    : c.hostEffect == 1 ? Qt::CopyAction
                                                        : d->proposedAction();
    EXPECT_EQ(d->dropAction(), expected) << int(c.mods) << " " << c.hostEffect;
}

const EffectRow kEffects[] = {
    {"ControlHeld", Qt::ControlModifier, -1},
    {"ShiftHeld", Qt::ShiftModifier, -1},
    {"ControlHeldHostAnswersMove", Qt::ControlModifier, 2},
    {"NoKeyHostAnswersCopy", Qt::NoModifier, 1},
};
INSTANTIATE_TEST_SUITE_P(ButtonDragDrop, DropEffects, ::testing::ValuesIn(kEffects),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonDragDrop, ADragWithoutEffectsOrDataIsCalledOffAndReportedAsNone)
{
    QStringList events;
    int allowedAnswer = 0;
    bool declareText = false;
    QObject::connect(b, &qvButtons_H::OLEStartDrag, b, [&](QMimeData* data, int& allowed) {
        events << QStringLiteral("Start(%1)").arg(allowed);
        if (declareText) {
            data->setData(QStringLiteral("text/plain"), QByteArray()); // filled on request
            events << data->text();                                    // a target asks for it
        }
        allowed = allowedAnswer;
    });
    QObject::connect(b, &qvButtons_H::OLESetData, b, [&](QMimeData* data, short& format) {
        events << QStringLiteral("SetData(%1)").arg(format);
        data->setText(QStringLiteral("veri"));
    });
    QObject::connect(b, &qvButtons_H::OLECompleteDrag, b,
                     [&](int& effect) { events << QStringLiteral("Complete(%1)").arg(effect); });

    declareText = true; // data, but no effect allowed
    b->OLEDrag();
    EXPECT_EQ(events, (QStringList{"Start(3)", "SetData(1)", "veri", "Complete(0)"}));

    events.clear();
    declareText = false; // effects, but no data
    allowedAnswer = 1;
    b->OLEDrag();
    EXPECT_EQ(events, (QStringList{"Start(3)", "Complete(0)"}));
}
