// The shapes of qvButtons_H and their regions.
#include "ui/controls/button/paint/ButtonShapes.h"

#include "platform/qt/gdi/GdiRegions.h"

#include <cmath>
#include <cstdlib>

namespace ktv {

using button::GradientMode;
using button::Mode;
using button::Shape;
using button::Style;

using gdi::GdiRegions;

ButtonShapes::ButtonShapes(ButtonPainter& painter) : m_p(painter), m_s(painter.state()), m_r(painter.res()) {}

void ButtonShapes::cutCorners(QRegion& shape, int w, int h, bool left, bool right) const
{
    const Style style = m_s.ButtonStyle;
    auto pixel = [&](int x, int y) { shape -= QRegion(x, y, 1, 1); };
    auto triangle = [&](std::vector<QPoint> pts) { shape -= GdiRegions::polygon(pts); };
    if (style == Style::DoubleBevel) {
        if (left) {
            pixel(0, 0);
            pixel(0, h - 1);
        }
        if (right) {
            pixel(w - 1, 0);
            pixel(w - 1, h - 1);
        }
    } else if (style == Style::Etched) {
        if (m_s.Enabled) {
            if (left)
                pixel(0, h - 1);
            if (right)
                pixel(w - 1, 0);
        }
    } else if (style == Style::Rounded || style == Style::RoundedSoft) {
        if (left) {
            triangle({{0, 0}, {2, 0}, {0, 2}});
            triangle({{0, h}, {3, h}, {0, h - 3}});
        }
        if (right) {
            triangle({{w, 0}, {w - 2, 0}, {w, 2}});
            triangle({{w, h}, {w - 3, h}, {w, h - 3}});
        }
    }
}

ButtonShape ButtonShapes::BuildRegions()
{
    int w = m_s.Width;
    int h = m_s.Height;
    m_r.leftCut = 0;
    m_r.rightLimit = w;
    m_r.surface.clearClip();
    m_r.shapeRegion = QRegion();
    m_r.innerRegion = QRegion();
    m_r.hasShapeRegions = false;

    const Shape shape = m_s.ButtonShape;
    QRegion window;
    if (shape == Shape::Rectangle) {
        window = GdiRegions::rect(0, 0, w + 1, h + 1);
        cutCorners(window, w, h, true, true);
    } else if (shape <= Shape::Parallelogram) {
        // The slant runs at 45 degrees over the full height.
        const int d = h + 1;
        int newW = w;
        while (newW - d < 5)
            newW += 5;
        if (newW != w) {
            // The button grows to fit its slant; the widget takes the new width.
            w = newW;
            m_r.surface.resize(w, h, m_s.DevicePixelRatio);
            m_r.surface.setFont(m_s.Font);
        }
        const bool slantLeft = shape == Shape::SlantLeft || shape == Shape::Parallelogram;
        const bool slantRight = shape == Shape::SlantRight || shape == Shape::Parallelogram;
        const int x1 = slantLeft ? d : 0;
        const int x2 = slantRight ? w - d + 1 : w + 1;
        window = GdiRegions::polygon({{0, 0}, {x1, h + 1}, {w + 1, h + 1}, {x2, 0}});
        m_r.leftCut = slantLeft ? d : 0;
        m_r.rightLimit = slantRight ? w - d : w;
        cutCorners(window, w, h, !slantLeft, !slantRight);
    } else if (shape <= Shape::EllipseFramed) {
        window = GdiRegions::ellipse(0, 0, w, h);
        m_r.windowShape = window;
        PaintBackdrop();
        m_r.shapeRegion = GdiRegions::ellipse(1, 1, w - 1, h - 1);
        m_r.innerRegion = GdiRegions::ellipse(2, 2, w - 2, h - 2);
        m_r.hasShapeRegions = true;
    } else {
        if (m_r.pictureWidth == 0 || m_r.pictureHeight == 0 || m_s.Picture.isNull() || m_s.PictureIsIcon)
            return {m_r.windowShape, QSize(w, h)}; // the window keeps its old shape
        const QSize fitted = FitPicture(w, h);
        w = std::max(fitted.width(), 1);
        h = std::max(fitted.height(), 1);
        if (m_r.surface.width() != w || m_r.surface.height() != h) {
            m_r.surface.resize(w, h, m_s.DevicePixelRatio);
            m_r.surface.setFont(m_s.Font);
        }
        m_r.rightLimit = w;
        window = GdiRegions::rect(0, 0, w, h);
        BuildPictureRegion(w, h, &window);
        m_r.windowShape = window;
        PaintBackdrop();
        m_r.surface.setClip(m_r.shapeRegion);
    }
    m_r.windowShape = window;
    if (m_r.rightLimit == 0)
        m_r.rightLimit = w;
    m_r.layoutKey.reset();
    return {window, QSize(w, h)};
}

void ButtonShapes::PaintBackdrop()
{
    // What lies outside the shape region stays on the surface from here on: the raised ring of
    // shapes 4, 5 and 8, the black frame of shape 6, the BackColor frame of shape 7.
    const Shape shape = m_s.ButtonShape;
    m_r.surface.clearClip();
    if ((shape >= Shape::Ellipse && shape <= Shape::EllipseFramed &&
         m_s.ButtonStyle == Style::FlatUntilHover) ||
        shape < Shape::Ellipse || shape > Shape::PictureRinged)
        return;
    if (shape == Shape::EllipseFramed)
        m_r.surface.frameRegion(m_r.windowShape, 0, 1, 1);
    else if (shape == Shape::PictureFramed)
        m_r.surface.frameRegion(m_r.windowShape, gdi::ColorRef(ButtonColors::TranslateColor(m_s.BackColor)),
                                1, 1);
    else
        m_p.GradientFill(ButtonColors::White, ButtonColors::Grey, GradientMode::TopToBottom);
}

QSize ButtonShapes::FitPicture(int availableWidth, int availableHeight) const
{
    const int pw = m_r.pictureWidth, ph = m_r.pictureHeight;
    if (pw <= 0 || ph <= 0)
        return {0, 0};
    const double ratio = std::min(double(availableWidth) / pw, double(availableHeight) / ph);
    return {int(std::nearbyint(pw * ratio)), int(std::nearbyint(ph * ratio))};
}

void ButtonShapes::BuildPictureRegion(int width, int height, QRegion* windowShape)
{
    if (m_s.Picture.isNull())
        return;
    m_r.pictureCopy = QImage();
    if (m_s.PictureIsIcon || width <= 0 || height <= 0)
        return;
    // The platform's image copy picks pixels; no smoothing, so the key colour stays exact.
    QImage copy = m_s.Picture.convertToFormat(QImage::Format_RGB32)
                      .scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb key = copy.pixel(0, 0) & 0xFFFFFF;
    const int kr = qRed(key), kg = qGreen(key), kb = qBlue(key);
    if (windowShape) {
        m_r.shapeRegion = GdiRegions::rect(0, 0, width, height);
        m_r.innerRegion = m_r.shapeRegion;
        m_r.hasShapeRegions = true;
    }
    QRegion windowCut, shapeCut, innerCut;
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
        int runStart = -1;
        for (int x = 0; x <= width; ++x) {
            bool match = false;
            if (x < width) {
                const QRgb c = line[x];
                match = std::abs(qRed(c) - kr) <= 3 && std::abs(qGreen(c) - kg) <= 3 &&
                        std::abs(qBlue(c) - kb) <= 3;
                if (match) {
                    line[x] = 0xFF000000u | key;
                    if (runStart < 0)
                        runStart = x;
                }
            }
            const bool closes = runStart >= 0 && (!match || x == width);
            if (closes) {
                if (windowShape) {
                    windowCut += QRect(runStart, y, x - runStart, 1);
                    shapeCut += QRect(runStart - 1, y - 1, x - runStart + 2, 3);
                    innerCut += QRect(runStart - 2, y - 2, x - runStart + 4, 5);
                }
                runStart = -1;
            }
        }
    }
    if (windowShape) {
        *windowShape -= windowCut;
        m_r.shapeRegion -= shapeCut;
        m_r.innerRegion -= innerCut;
    }
    m_r.pictureCopy = copy;
    m_r.scaledPictureSize = QSize(width, height);
    const double ratio = m_s.DevicePixelRatio;
    if (ratio != 1) {
        // The picture drawn on a finer surface is copied at the finer size, so it keeps its
        // detail; the regions above stay in logical pixels.
        QImage fine = m_s.Picture.convertToFormat(QImage::Format_RGB32)
                          .scaled(qRound(width * ratio), qRound(height * ratio), Qt::IgnoreAspectRatio,
                                  Qt::FastTransformation);
        for (int y = 0; y < fine.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(fine.scanLine(y));
            for (int x = 0; x < fine.width(); ++x) {
                const QRgb c = line[x];
                if (std::abs(qRed(c) - kr) <= 3 && std::abs(qGreen(c) - kg) <= 3 &&
                    std::abs(qBlue(c) - kb) <= 3)
                    line[x] = 0xFF000000u | key;
            }
        }
        fine.setDevicePixelRatio(ratio);
        m_r.pictureCopy = fine;
    }
}

QPoint ButtonShapes::CustomClickMove(bool& moved)
{
    moved = false;
    if (m_s.Mode != Mode::Command || m_s.CustomClick < 1 || m_s.CustomClick > 8)
        return {};
    static const QPoint offsets[9] = {{0, 0},  {0, -1}, {1, -1}, {-1, -1}, {1, 1},
                                      {-1, 1}, {1, 0},  {0, 1},  {-1, 0}};
    const QPoint offset = offsets[m_s.CustomClick];
    if (m_s.isPushed() && !m_r.windowMoved) {
        m_r.windowMoved = true;
        moved = true;
        return offset;
    }
    if (m_r.windowMoved && !m_s.isPushed()) {
        m_r.windowMoved = false;
        return -offset;
    }
    return {};
}

} // namespace ktv
