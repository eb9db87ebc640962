// The wizard's window icon and the desktop entry and icon the build lays into the program folder.
#include "WizardFixture.h"

#include "app/AppPath.h"

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
    const fs::path folder = programFolder();
    const std::string entry = readFile((folder / "ktvedaz.desktop").string());
    ASSERT_FALSE(entry.empty()) << (folder / "ktvedaz.desktop").string();
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=V4KT\n", "\nGenericName=V4KT Çevrim Programı\n",
                             "\nIcon=ktvedaz\n", "\nTerminal=false\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    // The entry starts the wizard that lies beside it, wherever the folder is.
    EXPECT_NE(entry.find("/ktvedaz"), std::string::npos);
    EXPECT_NE(entry.find("%k"), std::string::npos);

    const QImage icon(QString::fromStdString((folder / "ktvedaz.png").string()));
    EXPECT_EQ(icon.size(), QSize(256, 256));
    EXPECT_EQ(QImage(QString::fromStdString((folder / "ktvedaz-48.png").string())).size(), QSize(48, 48));
}

} // namespace
} // namespace ktv::test
