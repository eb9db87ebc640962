// What assistive technology sees of a qvButtons_H: a push button, check box or option button by
// its mode, named by its caption, with its states and a press action that clicks it.
#pragma once

#include <QAccessibleWidget>

namespace ktv {

class qvButtons_H;

class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(qvButtons_H* button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // Makes queryAccessibleInterface answer with this class for every button; idempotent.
    static void install();

    // The caption as read aloud: no access-key marker ("&&" stays one "&"), line breaks as spaces.
    static QString spokenCaption(const QString& caption);

private:
    qvButtons_H* button() const;
};

} // namespace ktv
