// The running form's keys for its owner-drawn buttons: Enter presses the focused button ahead
// of the default one, arrow keys move along the tab order and turn an option on, and an access
// key that several buttons share moves the focus among them.
#include "platform/qt/QtControlHost.h"
#include "ui/controls/button/qvButtons_H.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace ktv {
namespace {

class HostKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(400, 100);
    }

    qvButtons_H* button(const char* caption, int mode = qvButtons_H::ModeCommand)
    {
        auto* b = new qvButtons_H(window.get(), &host);
        b->InitProperties();
        b->setObjectName(QString::fromUtf8(caption));
        b->setMode(mode);
        b->setCaption(QString::fromUtf8(caption));
        b->setGeometry(10 + 60 * int(window->children().size()), 10, 55, 30);
        return b;
    }

    QLineEdit* edit()
    {
        auto* e = new QLineEdit(window.get());
        e->setGeometry(10, 60, 100, 22);
        return e;
    }

    void showWindow()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // A key as the keyboard delivers it: to the focused control, the posted key handled
    // before the key comes up.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyPress(QApplication::focusWidget(), k, modifiers);
        QApplication::processEvents();
        QTest::keyRelease(QApplication::focusWidget(), k, modifiers);
        QApplication::processEvents();
    }

    QtControlHost host;
    std::unique_ptr<QWidget> window;
};

TEST_F(HostKeys, EnterPressesTheFocusedButtonAndTheDefaultOnlyWithoutOne)
{
    qvButtons_H* ok = button("Tamam");
    qvButtons_H* other = button("Diğer");
    QLineEdit* box = edit();
    host.setDefaultControl(ok);
    showWindow();
    QSignalSpy okClicks(ok, &qvButtons_H::Click);
    QSignalSpy otherClicks(other, &qvButtons_H::Click);

    other->setFocus();
    key(Qt::Key_Return);
    EXPECT_EQ(otherClicks.count(), 1);
    EXPECT_EQ(okClicks.count(), 0) << "the focused button takes Enter, not the default";
    EXPECT_TRUE(host.displayAsDefault(other));
    EXPECT_FALSE(host.displayAsDefault(ok));

    box->setFocus();
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okClicks.count(), 1) << "with no button focused Enter presses the default";
    EXPECT_EQ(otherClicks.count(), 1);

    host.setDefaultControl(nullptr);
    ok->setFocus();
    key(Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 2) << "a focused button takes Enter without any default too";
}

TEST_F(HostKeys, ArrowsMoveAlongTheTabOrderAndTurnAnOptionOn)
{
    QLineEdit* first = edit();
    qvButtons_H* one = button("Bir", qvButtons_H::ModeOption);
    qvButtons_H* two = button("İki", qvButtons_H::ModeOption);
    qvButtons_H* last = button("Son");
    showWindow();
    QWidget::setTabOrder(first, one);
    QWidget::setTabOrder(one, two);
    QWidget::setTabOrder(two, last);

    one->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(one->Value()) << "an option group without a choice takes the focused option";
    key(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), two);
    EXPECT_TRUE(two->Value());
    EXPECT_FALSE(one->Value());
    key(Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), one);
    EXPECT_TRUE(one->Value());
    EXPECT_FALSE(two->Value());
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), last);
    key(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), two);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(HostKeys, AnAccessKeyOfSeveralButtonsMovesTheFocusAmongThem)
{
    qvButtons_H* close = button("&Kapat");
    qvButtons_H* first = button("&Sil");
    qvButtons_H* second = button("&Sakla");
    showWindow();
    QSignalSpy firstClicks(first, &qvButtons_H::Click);
    QSignalSpy secondClicks(second, &qvButtons_H::Click);
    QSignalSpy closeClicks(close, &qvButtons_H::Click);

    close->setFocus();
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), second);
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), first) << "round again";
    EXPECT_EQ(firstClicks.count() + secondClicks.count(), 0) << "a shared key presses none of them";

    key(Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(closeClicks.count(), 1) << "a key of one button presses it";

    second->hide();
    close->setFocus();
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(firstClicks.count(), 1) << "a hidden button does not share the key";
}

} // namespace
} // namespace ktv
