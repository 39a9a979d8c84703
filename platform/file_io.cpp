#include "platform/file_io.h"

#include "platform/unique_fd.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<unsigned> g_tempCounter{0};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A free name for the new content beside the target: short, so that a
// target name of the longest length allowed still works; hidden, so that
// nobody picks it by mistake while it exists. The file is created, empty.
UniqueFd CreateTempBeside(const std::string &target, std::string &temp)
{
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        const unsigned tag = static_cast<unsigned>(::getpid()) * 2654435761u
            + g_tempCounter.fetch_add(1) * 40503u;
        std::snprintf(name, sizeof name, ".kestrel-%08x", tag);
        temp = folder + name;
        UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Valid() || errno != EEXIST)
            return fd;
    }
    return UniqueFd();
}

// A link is replaced where it points, so the link itself survives.
std::string ResolveLink(const std::string &path)
{
    struct stat info{};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

} // namespace

// The message of errno, taken in a thread-safe way.
std::string SystemError(const std::string &what, const std::string &path)
{
    return what + " \"" + path + "\": " + std::error_code(errno, std::generic_category()).message();
}

FileResult ReadWholeFile(const std::string &path, size_t maxSize, std::string &bytes, bool *missing)
{
    if (missing)
        *missing = false;
    bytes.clear();
    // Non-blocking, so that a FIFO in the file's place cannot hang us.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.Valid()) {
        if (missing)
            *missing = errno == ENOENT;
        return FileResult::Failure(SystemError("Cannot open", path));
    }
    struct stat info{};
    if (::fstat(fd.Get(), &info) != 0)
        return FileResult::Failure(SystemError("Cannot read", path));
    if (S_ISDIR(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is a directory");
    if (!S_ISREG(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is not a regular file");
    const std::string tooLarge = "Cannot read \"" + path + "\": the file is larger than "
        + std::to_string(maxSize / (1024 * 1024)) + " MiB and is not a parameter file";
    if (static_cast<size_t>(info.st_size) > maxSize)
        return FileResult::Failure(tooLarge);

    bytes.resize(static_cast<size_t>(info.st_size));
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxSize) {
                bytes.clear();
                return FileResult::Failure(tooLarge); // it grew while we read
            }
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return FileResult::Failure(SystemError("Cannot read", path));
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    bytes.resize(filled);
    return {};
}

FileResult RewriteFile(const std::string &path, std::string_view bytes)
{
    const std::string target = ResolveLink(path);
    struct stat old{};
    const bool writable = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
        && (old.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    UniqueFd fd(writable ? ::open(target.c_str(), flags) : -1);
    // The room is taken first, so that a full disk leaves the file as it was.
    const auto size = static_cast<off_t>(bytes.size());
    if (fd.Valid() && (size <= old.st_size || ::fallocate(fd.Get(), 0, 0, size) == 0)) {
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::pwrite(fd.Get(), bytes.data() + written, bytes.size() - written,
                                       static_cast<off_t>(written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += static_cast<size_t>(n);
        }
        if (written == bytes.size() && ::ftruncate(fd.Get(), size) == 0)
            return {};
    }
    fd.Reset();
    return ReplaceFile(path, bytes, false);
}

FileResult ReplaceFile(const std::string &path, std::string_view bytes, bool flushToDisk,
                       ReadOnlyTarget readOnly)
{
    const std::string target = ResolveLink(path);
    struct stat old{};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return FileResult::Failure(SystemError("Cannot write", path));
    if (exists && S_ISDIR(old.st_mode))
        return FileResult::Failure("Cannot write \"" + path + "\": it is a directory");
    if (exists && !S_ISREG(old.st_mode))
        return FileResult::Failure("Cannot write \"" + path + "\": it is not a regular file");
    // Without any write bit the file is read-only, also for root, who could
    // otherwise replace it.
    const bool isReadOnly =
        exists && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0);
    if (isReadOnly && readOnly == ReadOnlyTarget::Refuse)
        return FileResult::Failure("Cannot write \"" + path + "\": the file is read-only");
    const mode_t mode = isReadOnly ? (old.st_mode & 07777) | S_IWUSR : old.st_mode & 07777;

    std::string temp;
    UniqueFd fd = CreateTempBeside(target, temp);
    if (!fd.Valid())
        return FileResult::Failure(SystemError("Cannot write", path));
    const auto fail = [&](const char *what) {
        FileResult failure = FileResult::Failure(SystemError(what, path));
        ::unlink(temp.c_str());
        return failure;
    };
    if (exists) {
        if (::fchmod(fd.Get(), mode) != 0)
            return fail("Cannot keep the permissions of");
        // Only the owner's own files come back with their owner; others'
        // files keep their permissions, which is what matters.
        [[maybe_unused]] const int ignored = ::fchown(fd.Get(), old.st_uid, old.st_gid);
    }
    if (!WriteAll(fd.Get(), bytes) || (flushToDisk && ::fsync(fd.Get()) != 0))
        return fail("Cannot write");
    if (::close(fd.Release()) != 0)
        return fail("Cannot write");
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail("Cannot replace");
    return {};
}

FileResult CopyWholeFile(const std::string &from, const std::string &to, size_t maxSize)
{
    std::string bytes;
    if (FileResult read = ReadWholeFile(from, maxSize, bytes); !read.ok)
        return read;
    return ReplaceFile(to, bytes);
}

FileResult WriteNewPrivateFile(const std::string &path, std::string_view bytes, bool *exists)
{
    if (exists)
        *exists = false;
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) {
        if (exists)
            *exists = errno == EEXIST;
        return FileResult::Failure(SystemError("Cannot create", path));
    }
    if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0 || ::close(fd.Release()) != 0) {
        FileResult failure = FileResult::Failure(SystemError("Cannot write", path));
        ::unlink(path.c_str());
        return failure;
    }
    return {};
}

FileResult MakePrivateFolders(const std::string &path)
{
    for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        struct stat info{};
        if (::stat(folder.c_str(), &info) != 0
            && (errno != ENOENT || ::mkdir(folder.c_str(), 0700) != 0
                || ::stat(folder.c_str(), &info) != 0))
            return FileResult::Failure(SystemError("Cannot create the folder", folder));
        if (!S_ISDIR(info.st_mode))
            return FileResult::Failure("Cannot create the folder \"" + folder
                                       + "\": a file is in its place");
        if (end == std::string::npos || end + 1 == path.size())
            return {};
    }
}

bool ForceDeleteFile(const std::string &path)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    if (errno != EACCES && errno != EPERM)
        return false;
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace platform
