// The wizard's window icon and the desktop entry and icon the build lays into the program folder.
#include "WizardFixture.h"

#include "app/AppPath.h"
#include "app/AppPathDesktopEntry.h"

#include <QIcon>
#include <QImage>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {
namespace {

fs::path programFolder()
{
    const char* env = std::getenv("KTV_APP_DIR");
    return env && *env ? fs::path(env) : fs::path(ExecutableFolder()) / ".." / "app";
}

TEST_F(WizardTest, TheWindowShowsTheWizardIcon)
{
    open();
    const QIcon icon = form->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage small = icon.pixmap(16, 16).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    const QImage large = icon.pixmap(256, 256).toImage();
    EXPECT_NE(large.pixel(128, 20), large.pixel(2, 2)) << "a square painted on a clear ground";
}

TEST(WizardProgramFolder, HoldsTheDesktopEntryAndItsIcon)
{
    const fs::path folder = programFolder().lexically_normal();
    const std::string entry = readFile((folder / "ktvedaz.desktop").string());
    ASSERT_FALSE(entry.empty()) << (folder / "ktvedaz.desktop").string();
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line :
         {"\nType=Application\n", "\nName=V4KT\n", "\nGenericName=Master Data Conversion\n",
          "\nGenericName[tr]=V4KT Çevrim Programı\n",
          "\nComment[tr]=Kaynak dosyadaki kartları firma veritabanlarına aktarır\n", "\nTerminal=false\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    // A desktop entry names its program and icon by absolute paths only (no %k, which some
    // launchers leave empty): those of this folder.
    EXPECT_NE(entry.find("\nExec=" + DesktopExecValue((folder / "ktvedaz").string()) + "\n"),
              std::string::npos);
    EXPECT_NE(entry.find("\nIcon=" + (folder / "ktvedaz.png").string() + "\n"), std::string::npos);
    EXPECT_EQ(entry.find("%k"), std::string::npos);

    const QImage icon(QString::fromStdString((folder / "ktvedaz.png").string()));
    EXPECT_EQ(icon.size(), QSize(256, 256));
    EXPECT_EQ(QImage(QString::fromStdString((folder / "ktvedaz-48.png").string())).size(), QSize(48, 48));
}

} // namespace
} // namespace ktv::test
