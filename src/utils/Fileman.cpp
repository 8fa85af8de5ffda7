#include "utils/Fileman.h"

#include "framework/host/Forms.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plx {

std::atomic<bool> StopSearch { false };

namespace {

bool EndsWithDelim(std::string_view path) noexcept
{
    return !path.empty() && path.back() == PathDelim;
}

// Seconds between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kFileTimeEpochDelta = 11644473600;

// Closes a descriptor at scope exit.
class TFd {
public:
    explicit TFd(int fd) noexcept
        : m_fd(fd)
    {
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    [[nodiscard]] int Get() const noexcept { return m_fd; }

private:
    int m_fd;
};

// Creates name anew (never an existing file, never through a link); the file's
// identity on success.
std::optional<std::pair<dev_t, ino_t>> CreateNewFile(const std::string& name, int& error)
{
    TFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.Get() < 0) {
        error = errno;
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        error = errno;
        ::unlink(name.c_str());
        return std::nullopt;
    }
    return std::make_pair(info.st_dev, info.st_ino);
}

// One folder's entries: the names of its subfolders and of everything else
// that is not a link to a folder, each in byte order.
struct TListing {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

std::optional<TListing> ListFolder(int dirFd)
{
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return std::nullopt;
    }
    TListing listing;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.front() == '.')
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            listing.folders.push_back(name);
        } else if (S_ISLNK(info.st_mode)) {
            struct stat target {};
            // A link to a folder is neither entered nor listed; any other link
            // (broken ones too) counts as a file.
            if (::fstatat(::dirfd(dir), name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode))
                continue;
            listing.files.push_back(name);
        } else {
            listing.files.push_back(name);
        }
    }
    ::closedir(dir);
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    return listing;
}

} // namespace

std::string AppExe()
{
    return Application().ExeName();
}

std::string Fileman::AppPath()
{
    return ExtractFilepath(AppExe());
}

std::string TmpDir()
{
    std::string folder;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp && DirectoryExists(tmp))
        folder = tmp;
    else
        folder = "/tmp";
    if (!EndsWithDelim(folder))
        folder += PathDelim;
    return folder;
}

std::string GetWinDir()
{
    return SettingsFolder();
}

std::string ExtractFilepath(std::string_view fileName)
{
    std::string path = ExtractFilePath(fileName);
    if (EndsWithDelim(path) && path.size() > 1)
        path.pop_back();
    return path;
}

std::string FilenameOnly(std::string_view fileName)
{
    return ChangeFileExt(ExtractFileName(fileName), "");
}

std::string DirUp(std::string_view folder)
{
    const bool absolute = !folder.empty() && folder.front() == PathDelim;
    std::string_view path = folder;
    if (EndsWithDelim(path))
        path.remove_suffix(1);
    const std::size_t last = path.rfind(PathDelim);
    // Without a delimiter there is nothing to cut: the name is its own parent.
    std::string result(last == std::string_view::npos ? path : path.substr(0, last));
    if (result.empty() && absolute)
        result.assign(1, PathDelim);
    return result;
}

std::string formFilename(std::string_view folder, std::string_view name)
{
    std::string result(folder);
    if (!result.empty() && !EndsWithDelim(result))
        result += PathDelim;
    result += name;
    return result;
}

bool CreateDirs(std::string_view folder)
{
    if (folder.empty())
        return false;
    const std::string target(folder);
    if (DirExists(target))
        return true;
    std::string path = target;
    if (!EndsWithDelim(path))
        path += PathDelim;
    // Each prefix that ends before a delimiter names one level of the chain,
    // outermost first; the root (the delimiter at the start) is never created.
    for (std::size_t at = path.find(PathDelim, 1); at != std::string::npos; at = path.find(PathDelim, at + 1)) {
        const std::string part = path.substr(0, at);
        if (part.empty() || EndsWithDelim(part))
            continue; // doubled delimiters
        if (!DirExists(part) && !FileExists(part))
            CreateDir(part);
        if (DirExists(target))
            return true;
    }
    return DirExists(target);
}

bool DirExists(std::string_view folder)
{
    if (folder.empty())
        return false;
    const std::string path(folder);
    struct stat info {};
    // A folder the process could change into: one it may search.
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool TestWrite(std::string_view folder)
{
    if (folder.empty())
        return false;
    const std::string stem = ChangeFileExt(kWriteTestName, "");
    const std::string extension = ExtractFileExt(kWriteTestName);
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string name = formFilename(folder, attempt == 0 ? std::string(kWriteTestName)
                                                                   : stem + IntToStr(attempt) + extension);
        int error = 0;
        const auto created = CreateNewFile(name, error);
        if (!created) {
            if (error == EEXIST || error == ELOOP)
                continue; // someone else's file or link: leave it and try another name
            return false;
        }
        // Remove the file only while the name still leads to the file made here.
        struct stat info {};
        if (::lstat(name.c_str(), &info) == 0 && info.st_dev == created->first && info.st_ino == created->second)
            ::unlink(name.c_str());
        return true;
    }
    return false;
}

std::int32_t FileLastWrite(std::string_view fileName)
{
    if (fileName.empty())
        return 0;
    const std::string name(fileName);
    TFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || S_ISDIR(info.st_mode))
        return 0;
    const std::int64_t ticks = (static_cast<std::int64_t>(info.st_mtim.tv_sec) + kFileTimeEpochDelta) * 10000000
        + info.st_mtim.tv_nsec / 100;
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(ticks) >> 32);
}

void SearchFileExt(std::string_view folder, std::string_view text, TStrings& list)
{
    StopSearch = false;
    if (text.empty() || folder.empty())
        return;
    const std::string key = UpperCase(text);
    std::string start(folder);
    if (!EndsWithDelim(start))
        start += PathDelim;

    // Folders still to search, the next one last; each known by its identity so
    // none is entered twice (hard links and bind mounts can make cycles).
    std::vector<std::string> pending { start };
    std::set<std::pair<dev_t, ino_t>> visited;
    bool first = true;
    while (!pending.empty() && !StopSearch) {
        const std::string current = std::move(pending.back());
        pending.pop_back();
        // The folder given is followed even when it is a link; the ones found
        // below it never are.
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (first ? 0 : O_NOFOLLOW);
        first = false;
        const int fd = ::open(current.c_str(), flags);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !visited.insert({ info.st_dev, info.st_ino }).second) {
            ::close(fd);
            continue;
        }
        const auto listing = ListFolder(fd);
        if (!listing)
            continue;
        for (const std::string& name : listing->files) {
            if (StopSearch)
                return;
            if (UpperCase(name).find(key) != std::string::npos)
                list.Add(current + name);
        }
        for (auto it = listing->folders.rbegin(); it != listing->folders.rend(); ++it)
            pending.push_back(current + *it + PathDelim);
    }
}

} // namespace plx
