// Gallery page of the owner-drawn button: every style, shape, mode, caption style, gradient,
// picture alignment and size, enabled and disabled, with option groups to try by hand.
#pragma once

#include <QList>
#include <QWidget>

class QLabel;

namespace ktv {

class PropertyList;
class qvButtons_H;

class ButtonPage : public QWidget {
    Q_OBJECT
public:
    explicit ButtonPage(QWidget* parent = nullptr);

    // Every button on the page, in the order they were made.
    const QList<qvButtons_H*>& buttons() const { return m_all; }
    // Gives the buttons that follow the page's choice (all but the style table) this style.
    void applyStyle(int style);
    // Enables or disables the buttons that follow the page's choice.
    void applyEnabled(bool enabled);
    // The properties of the button clicked last (at first: the first button).
    PropertyList* properties() const { return m_properties; }

private:
    qvButtons_H* make(QWidget* parent, const QString& name, const QString& caption, int style, QRect geometry,
                      bool follows);
    QWidget* styleTable();
    QWidget* shapeTable();
    QWidget* captionTable();
    QWidget* colourTable();
    QWidget* pictureTable();
    QWidget* groupTable();
    void clicked(qvButtons_H* button);

    QList<qvButtons_H*> m_all;
    QList<qvButtons_H*> m_following; // restyled and enabled by the page's choices
    QLabel* m_last = nullptr;
    PropertyList* m_properties = nullptr;
};

} // namespace ktv
