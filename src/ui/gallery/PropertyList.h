// A table of a control's own properties as its meta-object declares them: name, type and
// current value, so a property added to a control shows in the gallery without more code.
#pragma once

#include <QPointer>
#include <QString>
#include <QTableWidget>
#include <QVector>

namespace ktv {

class PropertyList : public QTableWidget {
    Q_OBJECT
public:
    struct Row {
        QString name, type, value;
    };
    // The properties `object`'s class declares itself (not those of QWidget), in their order.
    static QVector<Row> rowsOf(const QObject& object);

    explicit PropertyList(QWidget* parent = nullptr);
    // Lists `object`'s properties; none lists nothing.
    void showObject(QObject* object);
    // Reads the values of the listed object again.
    void refresh();
    QObject* object() const { return m_object; }

private:
    QPointer<QObject> m_object;
};

} // namespace ktv
