#include "cli/OutputFile.h"

#include "cli/Args.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ktv::cli {

namespace {

// The end of a chain of symbolic links: the file a write through the link reaches, which
// may not exist yet. Writing there (not renaming over the link) keeps the link.
fs::path followLinks(const std::string& option, const std::string& given)
{
    fs::path path = fs::absolute(given).lexically_normal();
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
        if (hops == 40)
            throw UsageError(option + " '" + given + "': too many levels of symbolic links");
        const fs::path target = fs::read_symlink(path, ec);
        if (ec)
            throw UsageError(option + " '" + given + "': " + ec.message());
        path = (target.is_absolute() ? target : path.parent_path() / target).lexically_normal();
    }
    return path;
}

void writeAll(int fd, std::string_view content, const std::string& path)
{
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            throw Error(runtime_err::FileAccess, "Dosya yazılamıyor: " + path + ": " + std::strerror(errno));
        p += w;
        left -= static_cast<std::size_t>(w);
    }
}

} // namespace

void CheckFolderOf(const std::string& option, const std::string& given, const std::string& file)
{
    const fs::path folder = fs::path(file).parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw UsageError(option + " '" + given + "': the folder '" + folder.string() + "' does not exist");
    if (::access(folder.c_str(), W_OK) != 0)
        throw UsageError(option + " '" + given + "': the folder '" + folder.string() + "' cannot be written");
}

OutputFile CheckOutputFile(const std::string& option, const std::string& given)
{
    if (given.empty())
        throw UsageError(option + " needs a file name (or - for standard output)");
    if (given == "-")
        return {OutputFile::Kind::StandardOutput, {}};
    const fs::path path = followLinks(option, given);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            throw UsageError(option + " '" + given + "': " + std::strerror(errno));
        CheckFolderOf(option, given, path.string());
        return {OutputFile::Kind::Replace, path.string()};
    }
    if (S_ISDIR(st.st_mode))
        throw UsageError(option + " '" + given + "' is a folder");
    // The mode bits are read as well as access(), which lets the superuser through.
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
        throw UsageError(option + " '" + given + "' cannot be written");
    // A terminal, /dev/null or a pipe is written where it stands; replacing it would put a
    // plain file in its place.
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))
        return {OutputFile::Kind::InPlace, path.string()};
    if (!S_ISREG(st.st_mode))
        throw UsageError(option + " '" + given + "' is not a file");
    CheckFolderOf(option, given, path.string());
    return {OutputFile::Kind::Replace, path.string()};
}

void WriteStandardOutput(std::string_view content)
{
    if (std::fwrite(content.data(), 1, content.size(), stdout) != content.size() || std::fflush(stdout) != 0)
        throw Error(runtime_err::FileAccess,
                    std::string("cannot write to standard output: ") + std::strerror(errno));
}

void WriteOutputFile(const OutputFile& file, std::string_view content)
{
    switch (file.kind) {
    case OutputFile::Kind::StandardOutput: WriteStandardOutput(content); return;
    case OutputFile::Kind::InPlace: {
        const int fd = ::open(file.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw Error(runtime_err::FileAccess,
                        "Dosya yazılamıyor: " + file.path + ": " + std::strerror(errno));
        try {
            writeAll(fd, content, file.path);
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (::close(fd) != 0)
            throw Error(runtime_err::FileAccess,
                        "Dosya yazılamıyor: " + file.path + ": " + std::strerror(errno));
        return;
    }
    case OutputFile::Kind::Replace: writeFileAtomically(file.path, content); return;
    }
}

} // namespace ktv::cli
