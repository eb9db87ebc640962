// The gallery's window: one tab page per control family, so each control can be tried by hand.
#pragma once

#include <QWidget>

class QTabWidget;

namespace ktv {

class GalleryWindow : public QWidget {
    Q_OBJECT
public:
    explicit GalleryWindow(QWidget* parent = nullptr);

    // Adds a page; the window takes ownership. Returns the page's index.
    int addPage(const QString& title, QWidget* page);
    void showPage(int index);
    int pageCount() const;

private:
    QTabWidget* m_tabs;
};

} // namespace ktv
