// Where the templates, the settings file and DATA lie in a portable, an installed and a
// read-only program folder; the portable folder's desktop entry following the folder.
#include "app/AppPath.h"
#include "app/AppPathDesktopEntry.h"
#include "app/AppPathLayout.h"
#include "app/ReadWriteIni.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace ktv;
namespace fs = std::filesystem;

namespace {

// Sets (or clears) environment variables for one test and restores them afterwards.
class ScopedEnv {
public:
    void set(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            it->second ? ::setenv(it->first, it->second->c_str(), 1) : ::unsetenv(it->first);
        InitAppPath();
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

} // namespace

TEST(Layout, PortableInstalledAndSharedFolders)
{
    test::TempDir dir;
    const std::string root = dir.str();
    fs::create_directories(dir.path() / "portable");
    fs::create_directories(dir.path() / "usr/bin");
    fs::create_directories(dir.path() / "usr/share/ktvedaz");
    fs::create_directories(dir.path() / "opt/bin"); // a bin folder without share/ktvedaz beside it
    struct Case {
        const char* folder;
        const char* shared; // KTVEDAZ_DATA
        Layout layout;
        std::string templates, data, settings;
    } cases[] = {
        {"portable", nullptr, Layout::Portable, root + "/portable", root + "/portable/DATA",
         root + "/portable/Vedaz.ini"},
        {"opt/bin", nullptr, Layout::Portable, root + "/opt/bin", root + "/opt/bin/DATA",
         root + "/opt/bin/Vedaz.ini"},
        {"usr/bin", nullptr, Layout::Installed, root + "/usr/share/ktvedaz", root + "/data/ktvedaz/DATA",
         root + "/config/ktvedaz/Vedaz.ini"},
        {"usr/bin/", "/srv/firma/", Layout::Installed, root + "/usr/share/ktvedaz", "/srv/firma",
         root + "/config/ktvedaz/Vedaz.ini"},
        {"portable", "/srv/firma", Layout::Portable, root + "/portable", "/srv/firma",
         root + "/portable/Vedaz.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + (c.shared ? c.shared : "-"));
        ScopedEnv env;
        env.set("XDG_DATA_HOME", (root + "/data").c_str());
        env.set("XDG_CONFIG_HOME", (root + "/config").c_str());
        env.set("KTVEDAZ_DATA", c.shared);
        InitAppPath(root + "/" + c.folder);
        EXPECT_EQ(ProgramLayout(), c.layout);
        EXPECT_EQ(TemplateFolder(), c.templates);
        EXPECT_EQ(SampleFolder(), c.templates + "/samples");
        EXPECT_EQ(DataFolder(), c.data);
        EXPECT_EQ(SettingsFilePath(), c.settings);
        EXPECT_TRUE(fs::is_directory(fs::path(c.settings).parent_path())) << "made for the first write";
    }
    // The base folders fall back to the home folder; a relative XDG value does not count.
    ScopedEnv env;
    env.set("HOME", (root + "/home").c_str());
    env.set("XDG_DATA_HOME", "relative");
    env.set("XDG_CONFIG_HOME", nullptr);
    env.set("KTVEDAZ_DATA", nullptr);
    InitAppPath(root + "/usr/bin");
    EXPECT_EQ(DataFolder(), root + "/home/.local/share/ktvedaz/DATA");
    EXPECT_EQ(SettingsFilePath(), root + "/home/.config/ktvedaz/Vedaz.ini");
}

TEST(Layout, AFolderTheOperatorCannotWriteKeepsItsTemplatesAndMovesTheOperatorsFiles)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root can write every folder";
    test::TempDir dir;
    fs::create_directories(dir.path() / "app");
    ::chmod((dir.path() / "app").c_str(), 0555);
    ScopedEnv env;
    env.set("XDG_DATA_HOME", (dir.str() + "/data").c_str());
    env.set("KTVEDAZ_DATA", nullptr);
    InitAppPath(dir.str() + "/app");
    EXPECT_EQ(ProgramLayout(), Layout::ReadOnly);
    EXPECT_EQ(TemplateFolder(), dir.str() + "/app");
    EXPECT_EQ(DataFolder(), dir.str() + "/data/ktvedaz/DATA");
    ::chmod((dir.path() / "app").c_str(), 0755);
}

TEST(DesktopEntry, ExecIsQuotedAndEscapedAsTheFormatWants)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/ktv/ktvedaz", "/opt/ktv/ktvedaz"},
        {"/home/a b/ktvedaz", "\"/home/a b/ktvedaz\""},
        {"/x/100%/ktvedaz", "/x/100%%/ktvedaz"},
        {"/x/$HOME/ktvedaz", "\"/x/\\\\$HOME/ktvedaz\""},
        {"/x/a\"b/ktvedaz", "\"/x/a\\\\\"b/ktvedaz\""},
        {"/x/a\\b/ktvedaz", "\"/x/a\\\\\\\\b/ktvedaz\""},
        {"/x/çevrim (eski)/ktvedaz", "\"/x/çevrim (eski)/ktvedaz\""},
    };
    for (const auto& [path, exec] : cases)
        EXPECT_EQ(DesktopExecValue(path), exec) << path;
}

TEST(DesktopEntry, FollowsTheFolderItLiesInAndKeepsTheRest)
{
    test::TempDir dir;
    const std::string folder = dir.str() + "/a b";
    fs::create_directories(folder);
    const std::string entry = folder + "/ktvedaz.desktop";
    test::writeFile(entry,
                    "[Desktop Entry]\nName=V4KT\nExec=/old/ktvedaz\nIcon=ktvedaz\nComment[tr]=Çevrim\n");
    ::chmod(entry.c_str(), 0755);
    EXPECT_TRUE(PointDesktopEntryAt(folder));
    EXPECT_EQ(test::readFile(entry), "[Desktop Entry]\nName=V4KT\nExec=\"" + folder +
                                         "/ktvedaz\"\nIcon=" + folder + "/ktvedaz.png\nComment[tr]=Çevrim\n");
    struct stat st {};
    ASSERT_EQ(::stat(entry.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_FALSE(PointDesktopEntryAt(folder)) << "an entry that is right is not written again";
    EXPECT_FALSE(PointDesktopEntryAt(dir.str() + "/none"));
}
