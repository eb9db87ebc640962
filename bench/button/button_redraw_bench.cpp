// Redraws per second of the button painter: a 73 x 39 style-2 push button (the wizard's buttons)
// and a 300 x 100 gradient button, each with a caption, at rest and hovered in turn; then the
// widget itself, a property change and the window's paint that follows it. The baseline is a
// plain fill of the same surface, so the ratio can be compared across machines.
#include "ui/controls/button/paint/ButtonPainter.h"
#include "ui/controls/button/qvButtons_H.h"

#include <QApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>

using namespace ktv;

namespace {

double perSecond(int count, std::chrono::steady_clock::duration elapsed)
{
    return count / std::chrono::duration<double>(elapsed).count();
}

template <typename F> double measure(F&& redraw)
{
    using clock = std::chrono::steady_clock;
    int count = 0;
    const auto start = clock::now();
    auto elapsed = clock::duration::zero();
    while (elapsed < std::chrono::milliseconds(1500)) {
        for (int i = 0; i < 50; ++i)
            redraw(count++);
        elapsed = clock::now() - start;
    }
    return perSecond(count, elapsed);
}

void run(const char* name, ButtonPaintState state)
{
    ButtonResources res;
    ButtonPainter::BuildRegions(state, res);
    const double redraws = measure([&](int i) {
        // Alternate rest and hover, as the mouse passing over the button does.
        state.Hovering = (i & 1) != 0;
        state.StateFlags = state.Hovering ? button::States(ButtonPaintState::StateHover) : button::States();
        const ButtonRedraw out = ButtonPainter::RedrawButton(state, res);
        if (out.image.isNull())
            std::abort();
    });
    QImage plain(state.Width, state.Height, QImage::Format_RGB32);
    const double fills = measure([&](int i) { plain.fill(i & 1 ? Qt::gray : Qt::white); });
    std::printf("%-34s %10.0f redraws/s   (baseline: %10.0f plain fills/s, ratio %.1f)\n", name, redraws,
                fills, fills / redraws);
}

// The widget: each redraw is a changed property followed by the paint the window gets for it.
void runWidget(const char* name)
{
    QWidget form;
    form.resize(200, 100);
    auto* button = new qvButtons_H(&form);
    button->InitProperties();
    button->setButtonStyle(2);
    button->setCaptionStyle(qvButtons_H::CaptionEngraved);
    button->setCaption(QStringLiteral("K&apat"));
    button->setGeometry(10, 10, 73, 39);
    form.show();
    // Only an exposed window gets its paints.
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    const double redraws = measure([&](int i) {
        button->setBackColor(i & 1 ? 0xC8D0D4u : 0xD4D0C8u);
        button->repaint();
    });
    QImage plain(73, 39, QImage::Format_RGB32);
    const double fills = measure([&](int i) { plain.fill(i & 1 ? Qt::gray : Qt::white); });
    std::printf("%-34s %10.0f redraws/s   (baseline: %10.0f plain fills/s, ratio %.1f)\n", name, redraws,
                fills, fills / redraws);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);

    ButtonPaintState wizard;
    wizard.Width = 73;
    wizard.Height = 39;
    wizard.ButtonStyle = button::Style::Rounded;
    wizard.CaptionStyle = button::CaptionStyle::Engraved;
    wizard.Caption = QStringLiteral("K&apat");
    wizard.BackColor = 0xC8D0D4;
    run("73 x 39 style 2, engraved caption", wizard);

    ButtonPaintState gradient;
    gradient.Width = 300;
    gradient.Height = 100;
    gradient.ButtonStyle = button::Style::Classic;
    gradient.Caption = QStringLiteral("Çevrim Yap");
    gradient.BackColor = 0xFF8000;
    gradient.GradientColor = 0x0080FF;
    gradient.GradientMode = button::GradientMode::LeftToRight;
    gradient.HoverBackColor = 0x0080FF;
    run("300 x 100 gradient (mode 1)", gradient);
    runWidget("widget: colour change and its paint");
    return 0;
}
