#include "app/AppPathLayout.h"

#include "app/AppPath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ktv {

namespace fs = std::filesystem;

namespace {

struct Folders {
    Layout layout = Layout::Portable;
    std::string program;   // long form, as InitAppPath was given it
    std::string templates; // empty: the program folder (AppPath)
    std::string data;      // empty: <AppPath>/DATA
    std::string settings;  // empty: <program>/Vedaz.ini
};

Folders& folders()
{
    static Folders f;
    return f;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    return home;
}

// $XDG_..._HOME when it is an absolute path (the base directory rules ignore a relative one),
// otherwise the default below the home folder.
std::string baseFolder(const char* variable, const char* fallback)
{
    const std::string value = environment(variable);
    if (!value.empty() && value.front() == '/')
        return value;
    return homeFolder() + "/" + fallback;
}

} // namespace

void InitLayout(const std::string& folder)
{
    Folders f;
    f.program = folder;
    std::error_code ec;
    const fs::path dir(folder);
    const fs::path share = dir.parent_path() / "share" / "ktvedaz";
    if (dir.filename() == "bin" && fs::is_directory(share, ec)) {
        f.layout = Layout::Installed;
        f.templates = share.string();
    } else if (::access(folder.c_str(), W_OK) != 0) {
        f.layout = Layout::ReadOnly;
    }
    if (f.layout != Layout::Portable) {
        f.data = baseFolder("XDG_DATA_HOME", ".local/share") + "/ktvedaz/DATA";
        f.settings = baseFolder("XDG_CONFIG_HOME", ".config") + "/ktvedaz/Vedaz.ini";
    }
    if (const std::string shared = environment("KTVEDAZ_DATA"); !shared.empty())
        f.data = shared;
    while (f.data.size() > 1 && f.data.back() == '/')
        f.data.pop_back();
    folders() = f;
}

Layout ProgramLayout() { return folders().layout; }

std::string TemplateFolder() { return folders().templates.empty() ? AppPath() : folders().templates; }

std::string SampleFolder() { return TemplateFolder() + "/samples"; }

std::string DataFolder() { return folders().data.empty() ? AppPath() + "/DATA" : folders().data; }

std::string SettingsFile()
{
    const Folders& f = folders();
    if (f.settings.empty())
        return (f.program.empty() ? ExecutableFolder() : f.program) + "/Vedaz.ini";
    // The per-user folder may not exist yet; the first write of the settings needs it.
    MakePath(fs::path(f.settings).parent_path().string());
    return f.settings;
}

} // namespace ktv
