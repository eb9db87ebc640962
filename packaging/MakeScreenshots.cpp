// Paints the wizard's two pages into PNG files for the AppStream metadata, headless:
//   make-screenshots <program folder with templates and samples/> <page1.png> <page2.png>
// Built on demand (target ktv_screenshots); the pictures are kept in packaging/screenshots/.
#include "app/AppPath.h"
#include "ui/wizard/Frm_Vedaz.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-screenshots <program folder> <page1.png> <page2.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "ktv-screenshots";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    for (const char* name : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
        std::filesystem::copy_file(std::filesystem::path(argv[1]) / name, work / name);
    ktv::InitAppPath(work.string());
    const std::string ini = (work / "Vedaz.ini").string();
    std::ofstream(ini) << "[CEVRIM]\r\nKLASOR=" << (std::filesystem::path(argv[1]) / "samples").string()
                       << "\r\nDOSYA=ornek.ktd\r\nKTDPVD=0\r\n";
    ktv::WizardOptions options;
    options.settingsFile = ini;
    options.currentYear = [] { return 2005; };
    ktv::Frm_Vedaz form(options);
    form.show();
    QApplication::processEvents();
    form.Form_Activate();
    QApplication::processEvents();
    const bool first = form.grab().save(QString::fromLocal8Bit(argv[2]), "PNG");
    form.Cmd_Ileri_Click();
    QApplication::processEvents();
    const bool second = form.grab().save(QString::fromLocal8Bit(argv[3]), "PNG");
    form.hide();
    std::filesystem::remove_all(work);
    return first && second ? 0 : 1;
}
