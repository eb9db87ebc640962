// The Line3D gallery page.
#include "ui/gallery/Line3DPage.h"

#include "platform/qt/SystemColors.h"
#include "ui/controls/line3d/Line3D.h"
#include "ui/gallery/PixelZoom.h"
#include "ui/gallery/PropertyList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ktv {

namespace {

const char* positionName(int32_t position)
{
    switch (position) {
    case Line3D::LinePositionMiddle: return "Orta (0)";
    case Line3D::LinePositionEnd: return "Son (1)";
    default: return "Baş (2)";
    }
}

Line3D* makeLine(int32_t position, QSize size)
{
    auto* line = new Line3D;
    line->setObjectName(QStringLiteral("Line3D_%1x%2_%3").arg(size.width()).arg(size.height()).arg(position));
    line->setFixedSize(size);
    line->setLinePosition(position);
    line->setAutoFillBackground(true); // its own background, so the magnified view shows its bounds
    return line;
}

const int32_t kPositions[] = {Line3D::LinePositionMiddle, Line3D::LinePositionEnd, Line3D::LinePositionStart};

// Wide controls: one row per position with the control and a magnified view of it.
QGroupBox* horizontalGroup(QSize size, int zoom)
{
    auto* group = new QGroupBox(QStringLiteral("Yatay %1 × %2 (sağda %3 kat büyütülmüş)")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(zoom));
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const int32_t position : kPositions) {
        auto* line = makeLine(position, size);
        grid->addWidget(new QLabel(QString::fromUtf8(positionName(position))), row, 0);
        grid->addWidget(line, row, 1, Qt::AlignVCenter);
        grid->addWidget(new PixelZoom(line, zoom), row, 2, Qt::AlignVCenter);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    return group;
}

// Tall or square controls: one column per position, the magnified view under the control.
QGroupBox* columnGroup(const QString& title, QSize size, int zoom)
{
    auto* group = new QGroupBox(title);
    auto* grid = new QGridLayout(group);
    int column = 0;
    for (const int32_t position : kPositions) {
        auto* line = makeLine(position, size);
        grid->addWidget(new QLabel(QString::fromUtf8(positionName(position))), 0, column, Qt::AlignHCenter);
        grid->addWidget(line, 1, column, Qt::AlignHCenter | Qt::AlignTop);
        if (zoom > 1)
            grid->addWidget(new PixelZoom(line, zoom), 2, column, Qt::AlignHCenter | Qt::AlignTop);
        ++column;
    }
    grid->setColumnStretch(column, 1);
    grid->setRowStretch(3, 1);
    return group;
}

} // namespace

Line3DPage::Line3DPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Koyu çizgi üstte ya da solda, açık çizgi hemen yanında. Yükseklik "
                                  "genişlikten küçükse çizgi yataydır, değilse (kare dahil) dikeydir."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    layout->addWidget(horizontalGroup({200, 10}, 2));
    auto* row = new QHBoxLayout;
    row->addWidget(columnGroup(QStringLiteral("Dikey 10 × 200"), {10, 200}, 1));
    row->addWidget(columnGroup(QStringLiteral("Kare 20 × 20 (altta 4 kat büyütülmüş)"), {20, 20}, 4));
    layout->addLayout(row);

    auto* live = new QGroupBox(QStringLiteral("Pencereyle boyutlanan denetim"));
    auto* liveLayout = new QVBoxLayout(live);
    auto* controls = new QHBoxLayout;
    auto* position = new QComboBox;
    position->setObjectName(QStringLiteral("LinePosition"));
    for (const int32_t value : kPositions)
        position->addItem(QString::fromUtf8(positionName(value)), value);
    auto* colored = new QCheckBox(QStringLiteral("Renkli (ColorDark kırmızı, ColorLight sarı)"));
    colored->setObjectName(QStringLiteral("ColorDark"));
    auto* about = new QPushButton(QStringLiteral("Hakkında..."));
    controls->addWidget(new QLabel(QStringLiteral("LinePosition:")));
    controls->addWidget(position);
    controls->addWidget(colored);
    controls->addStretch(1);
    controls->addWidget(about);
    liveLayout->addLayout(controls);

    auto* resizable = new Line3D;
    resizable->setObjectName(QStringLiteral("Line3D_Canli"));
    resizable->setMinimumHeight(16);
    resizable->setAutoFillBackground(true);
    liveLayout->addWidget(resizable);
    // The live line's properties as its meta-object declares them.
    auto* properties = new PropertyList;
    properties->setObjectName(QStringLiteral("Properties"));
    properties->setMaximumHeight(120);
    properties->showObject(resizable);
    liveLayout->addWidget(properties);
    layout->addWidget(live);
    layout->addStretch(1);

    connect(position, &QComboBox::currentIndexChanged, resizable, [resizable, position, properties] {
        resizable->setLinePosition(position->currentData().toInt());
        properties->refresh();
    });
    connect(colored, &QCheckBox::toggled, resizable, [resizable, properties](bool on) {
        resizable->setColorDark(on ? RGBColor(200, 0, 0) : Line3D::DefaultColorDark);
        resizable->setColorLight(on ? RGBColor(240, 200, 0) : Line3D::DefaultColorLight);
        properties->refresh();
    });
    connect(about, &QPushButton::clicked, resizable, [resizable] { resizable->About(); });
}

} // namespace ktv
