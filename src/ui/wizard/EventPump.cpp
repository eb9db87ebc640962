#include "ui/wizard/EventPump.h"

#include <QCoreApplication>

namespace ktv {

void EventPump::pump()
{
    QCoreApplication::sendPostedEvents();
    if (m_sinceAsked.isValid() && m_sinceAsked.nsecsElapsed() < m_intervalNs)
        return;
    m_sinceAsked.start();
    ++m_asks;
    QCoreApplication::processEvents();
}

} // namespace ktv
