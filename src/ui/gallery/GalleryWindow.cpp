// The gallery's tabbed window.
#include "ui/gallery/GalleryWindow.h"

#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ktv {

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent), m_tabs(new QTabWidget(this))
{
    setWindowTitle(QStringLiteral("KTVedaz Denetim Galerisi"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
}

int GalleryWindow::addPage(const QString& title, QWidget* page)
{
    // Pages may be taller than a small screen.
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return m_tabs->addTab(scroll, title);
}

void GalleryWindow::showPage(int index)
{
    if (index >= 0 && index < m_tabs->count())
        m_tabs->setCurrentIndex(index);
}

int GalleryWindow::pageCount() const { return m_tabs->count(); }

} // namespace ktv
