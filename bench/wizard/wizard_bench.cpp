// Conversion speed from the wizard (offscreen, the window processing its events before
// every record, the progress bar moving) against the same conversion run headless, as
// ktvedaz-cli runs it, on the same source in the same process, best of several and
// interleaved. Also: what processing events costs when nothing is pending, how often the
// progress bar is painted, and how soon a click on Kapat during the run is handled.
//
// Usage: QT_QPA_PLATFORM=offscreen ktvedaz-bench-wizard [records-in-all=300000] [--reps R=3] [--runs-only]
// (--runs-only leaves out the idle-cost loops, e.g. under a profiler:
//  valgrind --tool=callgrind --toggle-collect='*headless*' --toggle-collect='*wizard*' ...)
#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/Cli.h"
#include "cli/CliHost.h"
#include "convert/ConversionRun.h"
#include "platform/core/MessageBox.h"
#include "ui/controls/button/qvButtons_H.h"
#include "ui/wizard/EventPump.h"
#include "ui/wizard/Frm_Vedaz.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct AnswerYes final : ktv::MessageBoxService {
    ktv::MsgAnswer show(const ktv::MessageRequest& r) override
    {
        return r.buttons == ktv::MsgButtons::YesNo ? ktv::MsgAnswer::Yes : ktv::MsgAnswer::Ok;
    }
};

using ktv::bench::programFolder;

double headless(const fs::path& app, const fs::path& source)
{
    ktv::InitAppPath(app.string());
    ktv::CompanyDatabases set;
    ktv::cli::CliHost host(false);
    ktv::ConversionRun run(set, host);
    const auto t0 = Clock::now();
    run.Cmd_CevrimYap(ktv::bench::benchRequest(source));
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Counts the paint events of a widget.
// Counts the bar's paints and notes each one that shows it full: the operator sees every
// table end. Watching paints, not the value's signal, adds nothing to each record.
struct PaintCounter final : QObject {
    explicit PaintCounter(QProgressBar* bar, std::vector<int>& ends) : bar(bar), ends(ends) {}
    QProgressBar* bar;
    std::vector<int>& ends;
    long paints = 0;
    int lastPainted = -1;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Paint)
            return false;
        ++paints;
        if (bar->value() == bar->maximum() && bar->value() != lastPainted)
            ends.push_back(bar->value());
        lastPainted = bar->value();
        return false;
    }
};

struct WizardRun {
    double seconds = 0;
    long paints = 0;
    double clickLatencyMs = -1; // from the click's events being posted to the button's Click
};

// A mouse click on the button, as the window system would deliver it.
void postClick(QWidget* button)
{
    const QPointF at(button->width() / 2.0, button->height() / 2.0);
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

WizardRun wizard(const fs::path& app, const fs::path& source, std::vector<int>& ends, bool clickKapat)
{
    ktv::InitAppPath(app.string());
    ktv::WizardOptions options;
    options.settingsFile = (app / "Vedaz.ini").string();
    ktv::Frm_Vedaz form(options);
    form.show();
    QCoreApplication::processEvents();
    const auto& c = form.controls();
    c.Cbo_KtdPvd->setCurrentIndex(0);
    c.Txt_Klasor->setText(QString::fromStdString(source.parent_path().string()));
    c.Txt_SecilenDosya->setText(QString::fromStdString(source.filename().string()));
    form.runHandler(&ktv::Frm_Vedaz::Cmd_Ileri_Click); // the bar lies on page 2, as in a real run
    c.Cbo_FirmaKodu->setCurrentIndex(0);
    c.Txt_FirmaAdi->setText(QStringLiteral("Bench"));
    c.Cbo_VedazYili->setCurrentIndex(5);
    PaintCounter counter(c.PrgBar1, ends);
    c.PrgBar1->installEventFilter(&counter);
    WizardRun out;
    // Half a second into the run, Kapat on page 2 is clicked; the close itself is carried
    // out when the run ends, so the run is timed whole either way.
    QElapsedTimer sinceClick;
    QTimer clickTimer;
    clickTimer.setSingleShot(true);
    QObject::connect(&clickTimer, &QTimer::timeout, [&] {
        sinceClick.start();
        postClick(c.Cmd_Kapat1);
    });
    QObject::connect(c.Cmd_Kapat1, &ktv::qvButtons_H::Click, [&] {
        if (sinceClick.isValid() && out.clickLatencyMs < 0)
            out.clickLatencyMs = static_cast<double>(sinceClick.nsecsElapsed()) / 1e6;
    });
    if (clickKapat)
        clickTimer.start(500);
    const auto t0 = Clock::now();
    form.runHandler(&ktv::Frm_Vedaz::Cmd_CevrimYap_Click);
    out.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    c.PrgBar1->removeEventFilter(&counter);
    out.paints = counter.paints;
    return out;
}

// What one call of processEvents costs with nothing pending, in nanoseconds (best of 5).
double idleProcessEventsNs()
{
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        constexpr int calls = 200000;
        const auto t0 = Clock::now();
        for (int i = 0; i < calls; ++i)
            QCoreApplication::processEvents();
        best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / calls);
    }
    return best;
}

// What the run's yield (posted events every time, the window system twice a millisecond)
// costs with nothing pending, in nanoseconds a call (best of 5).
double idlePumpNs()
{
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        ktv::EventPump pump;
        constexpr int calls = 1000000;
        const auto t0 = Clock::now();
        for (int i = 0; i < calls; ++i)
            pump.pump();
        best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / calls);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    // As the wizard's own entry does.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    long total = 300000;
    int reps = 3;
    bool runsOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs-only") == 0)
            runsOnly = true;
        else if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else
            total = std::atol(argv[i]);
    }
    const long perTable = total / 3;
    const fs::path templates = fs::path(ktv::ExecutableFolder()).parent_path() / "app";
    const fs::path work = fs::temp_directory_path() / ("ktvwizbench." + std::to_string(getpid()));
    const fs::path source = work / "kaynak" / "bench.ktd";
    fs::create_directories(source.parent_path());
    ktv::cli::WriteSampleSource(source.string(), "KTD", perTable, 1, "7183");
    AnswerYes yes;
    ktv::setMessageBoxes(&yes);

    double cli = 1e300;
    WizardRun best;
    best.seconds = 1e300;
    std::vector<int> ends;
    for (int r = 0; r < reps; ++r) {
        fs::remove_all(work / "cli");
        fs::remove_all(work / "wizard");
        cli = std::min(cli, headless(programFolder(work / "cli", templates), source));
        ends.clear();
        // The click is measured in the first repetition only; the others time the plain run.
        const WizardRun w = wizard(programFolder(work / "wizard", templates), source, ends, r == 0);
        if (r == 0)
            best.clickLatencyMs = w.clickLatencyMs;
        if (w.seconds < best.seconds) {
            best.seconds = w.seconds;
            best.paints = w.paints;
        }
    }
    const double idleNs = runsOnly ? 0 : idleProcessEventsNs();
    const double pumpNs = runsOnly ? 0 : idlePumpNs();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double hz = screen ? screen->refreshRate() : 60.0;

    const double n = static_cast<double>(perTable * 3);
    std::printf("records in all: %ld, best of %d interleaved\n", perTable * 3, reps);
    std::printf("headless run : %10.0f records/s (%.2f s)\n", n / cli, cli);
    std::printf("wizard run   : %10.0f records/s (%.2f s)\n", n / best.seconds, best.seconds);
    std::printf("wizard / headless speed: %.2f (goal: at least 0.95)\n", cli / best.seconds);
    std::printf("processEvents with nothing pending: %.0f ns a call (%.1f%% of a headless record)\n", idleNs,
                idleNs / (cli / n * 1e9) * 100.0);
    std::printf("the run's yield with nothing pending: %.0f ns a call (%.1f%% of a headless record)\n",
                pumpNs, pumpNs / (cli / n * 1e9) * 100.0);
    std::printf("progress bar paints: %ld in %.2f s, %.0f a second (screen: %.0f Hz)\n", best.paints,
                best.seconds, static_cast<double>(best.paints) / best.seconds, hz);
    if (best.clickLatencyMs >= 0)
        std::printf("a click on Kapat during the run was handled after %.2f ms (goal: within 100 ms)\n",
                    best.clickLatencyMs);
    else
        std::printf("a click on Kapat during the run: the run ended before the click (use more records)\n");
    std::printf("progress bar painted full at the end of each table:");
    for (const int e : ends)
        std::printf(" %d", e);
    std::printf("\n");
    fs::remove_all(work);
    return 0;
}
