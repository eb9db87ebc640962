#include "platform/qt/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ktv {

MsgAnswer QtMessageBoxes::show(const MessageRequest& r)
{
    QMessageBox box(m_owner ? m_owner : QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(r.title));
    // The report's layout relies on its line breaks, not on CR characters.
    box.setText(QString::fromStdString(r.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (r.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (r.buttons == MsgButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Evet"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Hayır"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MsgAnswer::Ok;
}

} // namespace ktv
