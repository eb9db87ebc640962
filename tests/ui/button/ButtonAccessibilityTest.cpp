// The button as assistive technology finds it through QAccessible: role by mode, the caption as
// its name, its states, and a press action that clicks it as the operator's click does.
#include "ButtonTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

QAccessibleInterface* accessible(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    EXPECT_NE(a, nullptr);
    return a;
}

struct RoleRow {
    const char* name;
    int mode;
    QAccessible::Role role;
};

const RoleRow kRoleRows[] = {
    {"PushButton", qvButtons_H::ModeCommand, QAccessible::Button},
    {"CheckBox", qvButtons_H::ModeCheck, QAccessible::CheckBox},
    {"OptionButton", qvButtons_H::ModeOption, QAccessible::RadioButton},
};

} // namespace

class ButtonAccessibility : public RunningForm {};

class ButtonAccessibleRole : public RunningForm, public ::testing::WithParamInterface<RoleRow> {};

TEST_P(ButtonAccessibleRole, TheModeGivesTheRoleAndThePressActionClicks)
{
    auto* b = place("Cmd", GetParam().mode);
    QAccessibleInterface* a = accessible(b);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), GetParam().role);
    ASSERT_NE(a->actionInterface(), nullptr);
    EXPECT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The client's call returns first: a click that opens a modal box must not hold it.
    EXPECT_TRUE(log.take().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(log.take(), QStringList{QStringLiteral("Cmd.Click")});
    if (GetParam().mode != qvButtons_H::ModeCommand) {
        EXPECT_TRUE(b->Value());
        EXPECT_TRUE(a->state().checkable);
        EXPECT_TRUE(a->state().checked);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ButtonAccessibleRole, ::testing::ValuesIn(kRoleRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonAccessibility, TheNameIsTheCaptionWithoutTheAccessKeyMarker)
{
    auto* b = place("Cmd");
    b->setCaption(QStringLiteral("K&apat"));
    EXPECT_EQ(accessible(b)->text(QAccessible::Name), QStringLiteral("Kapat"));
    EXPECT_EQ(accessible(b)->text(QAccessible::Accelerator), QStringLiteral("Alt+A"));
    b->setCaption(QStringLiteral("Al && Ver||İleri >>"));
    EXPECT_EQ(accessible(b)->text(QAccessible::Name), QStringLiteral("Al & Ver İleri >>"));
}

TEST_F(ButtonAccessibility, StatesFollowTheButton)
{
    auto* other = place("Other");
    auto* b = place("Cmd");
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    other->setFocus();
    EXPECT_FALSE(accessible(b)->state().focused);
    b->setFocus();
    EXPECT_TRUE(accessible(b)->state().focused);

    EXPECT_TRUE(accessible(b)->state().defaultButton) << "the focused push button is drawn as the default";
    other->setFocus();
    EXPECT_FALSE(accessible(b)->state().defaultButton);
    host.setDefaultControl(b);
    EXPECT_TRUE(accessible(b)->state().defaultButton);

    b->setEnabled(false);
    EXPECT_TRUE(accessible(b)->state().disabled);
    EXPECT_TRUE(accessible(b)->actionInterface()->actionNames().isEmpty());
    accessible(b)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_FALSE(log.take().contains(QStringLiteral("Cmd.Click"))) << "an unavailable button is not pressed";

    auto* chk = place("Chk", qvButtons_H::ModeCheck);
    EXPECT_FALSE(accessible(chk)->state().checked);
    chk->setValue(true);
    EXPECT_TRUE(accessible(chk)->state().checked);
}
