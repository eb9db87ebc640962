// The gallery's property table, filled from the meta-object.
#include "ui/gallery/PropertyList.h"

#include "ui/controls/button/ButtonPicture.h"

#include <QFont>
#include <QHeaderView>
#include <QMetaEnum>
#include <QMetaProperty>

namespace ktv {

namespace {

QString valueText(const QMetaProperty& property, const QVariant& value)
{
    if (property.isEnumType()) {
        const QMetaEnum keys = property.enumerator();
        const int number = value.toInt();
        const char* key = keys.valueToKey(number);
        return key ? QStringLiteral("%1 (%2)").arg(QString::fromLatin1(key)).arg(number)
                   : QString::number(number);
    }
    if (value.metaType() == QMetaType::fromType<ButtonPicture>()) {
        const ButtonPicture picture = value.value<ButtonPicture>();
        if (picture.isNone())
            return QStringLiteral("(yok)");
        return QStringLiteral("%1 %2 × %3")
            .arg(picture.icon ? QStringLiteral("simge") : QStringLiteral("bit eşlem"))
            .arg(picture.image.width())
            .arg(picture.image.height());
    }
    switch (value.metaType().id()) {
    case QMetaType::UInt: // colours: the shared encoding reads best in hexadecimal
        return QStringLiteral("0x%1").arg(value.toUInt(), 8, 16, QLatin1Char('0'));
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QFont: {
        const QFont font = value.value<QFont>();
        return QStringLiteral("%1, %2 pt").arg(font.family()).arg(font.pointSizeF());
    }
    default: return value.toString();
    }
}

QString typeText(const QMetaProperty& property)
{
    if (property.isEnumType()) {
        const QMetaEnum keys = property.enumerator();
        return QStringLiteral("%1::%2").arg(QString::fromLatin1(keys.scope()),
                                            QString::fromLatin1(keys.enumName()));
    }
    return QString::fromLatin1(property.typeName());
}

} // namespace

QVector<PropertyList::Row> PropertyList::rowsOf(const QObject& object)
{
    QVector<Row> rows;
    const QMetaObject* meta = object.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        rows.push_back({QString::fromLatin1(property.name()), typeText(property),
                        valueText(property, property.read(&object))});
    }
    return rows;
}

PropertyList::PropertyList(QWidget* parent) : QTableWidget(0, 3, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("Özellik"), QStringLiteral("Tür"), QStringLiteral("Değer")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
}

void PropertyList::showObject(QObject* object)
{
    m_object = object;
    refresh();
}

void PropertyList::refresh()
{
    const QVector<Row> rows = m_object ? rowsOf(*m_object) : QVector<Row>();
    setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        setItem(r, 0, new QTableWidgetItem(rows[r].name));
        setItem(r, 1, new QTableWidgetItem(rows[r].type));
        setItem(r, 2, new QTableWidgetItem(rows[r].value));
    }
    resizeColumnsToContents();
}

} // namespace ktv
