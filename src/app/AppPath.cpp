#include "app/AppPath.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

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
}

const std::string& AppPath() { return appPathStorage(); }

std::string GetShortName(const std::string&) { return {}; }

bool MakePath(const std::string& folderPath)
{
    std::string path = folderPath;
    if (path.empty() || path.back() != '/')
        path += '/';
    // The current folder is remembered and restored as the original did; creation itself
    // works on the full prefixes, so nothing depends on the current folder in between.
    std::error_code ec;
    const auto remembered = std::filesystem::current_path(ec);
    std::size_t found = path.find('/');
    while (found != std::string::npos) {
        const std::size_t next = path.find('/', found + 1);
        if (next == std::string::npos)
            break;
        const std::string prefix = path.substr(0, next);
        if (!prefix.empty() && ::chdir(prefix.c_str()) != 0) {
            std::error_code mk;
            std::filesystem::create_directory(prefix, mk);
        }
        found = next;
    }
    if (!remembered.empty())
        std::filesystem::current_path(remembered, ec);
    return true;
}

} // namespace ktv
