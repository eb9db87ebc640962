// Conversion speed from the wizard (offscreen, the window processing its events before
// every record, the progress bar moving) against the same conversion run headless, as
// ktvedaz-cli runs it, on the same source in the same process.
//
// Usage: QT_QPA_PLATFORM=offscreen ktvedaz-bench-wizard [records-in-all=300000]
#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/Cli.h"
#include "cli/CliHost.h"
#include "convert/ConversionRun.h"
#include "platform/core/MessageBox.h"
#include "ui/wizard/Frm_Vedaz.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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

double wizard(const fs::path& app, const fs::path& source, std::vector<int>& ends)
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
    c.Cbo_FirmaKodu->setCurrentIndex(0);
    c.Txt_FirmaAdi->setText(QStringLiteral("Bench"));
    c.Cbo_VedazYili->setCurrentIndex(5);
    QObject::connect(c.PrgBar1, &QProgressBar::valueChanged, [&](int v) {
        if (v == c.PrgBar1->maximum())
            ends.push_back(v);
    });
    const auto t0 = Clock::now();
    form.runHandler(&ktv::Frm_Vedaz::Cmd_CevrimYap_Click);
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    // As the wizard's own entry does.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    const long total = argc > 1 ? std::atol(argv[1]) : 300000;
    const long perTable = total / 3;
    const fs::path templates = fs::path(ktv::ExecutableFolder()).parent_path() / "app";
    const fs::path work = fs::temp_directory_path() / ("ktvwizbench." + std::to_string(getpid()));
    const fs::path source = work / "kaynak" / "bench.ktd";
    fs::create_directories(source.parent_path());
    ktv::cli::WriteSampleSource(source.string(), "KTD", perTable, 1, "7183");
    AnswerYes yes;
    ktv::setMessageBoxes(&yes);

    const double cli = headless(programFolder(work / "cli", templates), source);
    std::vector<int> ends;
    const double wiz = wizard(programFolder(work / "wizard", templates), source, ends);

    const double n = static_cast<double>(perTable * 3);
    std::printf("records in all: %ld\n", perTable * 3);
    std::printf("headless run : %10.0f records/s (%.2f s)\n", n / cli, cli);
    std::printf("wizard run   : %10.0f records/s (%.2f s)\n", n / wiz, wiz);
    std::printf("wizard / headless speed: %.2f (goal: at least 0.67)\n", cli / wiz);
    std::printf("progress bar at its maximum at the end of each table:");
    for (const int e : ends)
        std::printf(" %d", e);
    std::printf("\n");
    fs::remove_all(work);
    return 0;
}
