#include "app/AppPath.h"

#include "app/AppPathLayout.h"

#include <filesystem>
#include <system_error>

namespace ktv {

namespace {

std::string& appPathStorage()
{
    static std::string path;
    return path;
}

} // namespace

std::string ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}

void InitAppPath() { InitAppPath(ExecutableFolder()); }

void InitAppPath(const std::string& folder)
{
    std::string path = folder;
    // A trailing separator is dropped, except for the root folder itself.
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::string shortForm = GetShortName(path);
    bool blank = true;
    for (const char c : shortForm)
        if (c != ' ')
            blank = false;
    appPathStorage() = blank ? path : shortForm;
    InitLayout(path);
}

const std::string& AppPath() { return appPathStorage(); }

std::string GetShortName(const std::string&) { return {}; }

bool MakePath(const std::string& folderPath)
{
    // Every level by its full prefix, so a relative path works as well as an absolute one and
    // the current folder is never changed. A level that cannot be made is left to the caller's
    // next step (opening a file there), which reports it.
    std::string path = folderPath;
    if (path.empty() || path.back() != '/')
        path += '/';
    for (std::size_t next = path.find('/', 1); next != std::string::npos; next = path.find('/', next + 1)) {
        const std::string prefix = path.substr(0, next);
        std::error_code ec;
        if (!prefix.empty() && prefix.back() != '/' && !std::filesystem::is_directory(prefix, ec))
            std::filesystem::create_directory(prefix, ec);
    }
    return true;
}

} // namespace ktv
