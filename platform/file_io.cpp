#include "platform/file_io.h"

#include "platform/retry_interrupted.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written =
            RetryInterrupted([&] { return ::write(fd, bytes.data(), bytes.size()); });
        if (written < 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A free name for the new content beside the target: short, so that a
// target name of the longest length allowed still works; hidden, so that
// nobody picks it by mistake while it exists; random, so that nobody can
// take it first in a shared folder. The file is created, empty, 0600.
UniqueFd CreateTempBeside(const std::string &target, std::string &temp)
{
    const size_t slash = target.rfind('/');
    temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
           ".kestrel-XXXXXX";
    return UniqueFd(::mkostemp(temp.data(), O_CLOEXEC));
}

FileResult Refusal(const std::string &path, const char *why)
{
    return FileResult::Failure("Cannot write \"" + path + "\": " + why);
}

constexpr char kIsLink[] = "it is a symbolic link";
constexpr char kIsOthersLink[] = "it is a symbolic link that another user owns";

enum class Links { FollowOwn, Refuse };

// A link of this user is replaced where it points, so the link itself
// survives; `target` is then where it points.
FileResult ResolveLink(const std::string &path, Links links, std::string &target)
{
    target = path;
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return {};
    if (links == Links::Refuse)
        return Refusal(path, kIsLink);
    if (info.st_uid != ::geteuid())
        return Refusal(path, kIsOthersLink);
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        target = resolved;
    return {};
}

FileResult Replace(const std::string &path, std::string_view bytes, bool flushToDisk,
                   ReadOnlyTarget readOnly, Links links);

// Opens a regular file for reading; a missing one sets `missing`.
FileResult OpenForReading(const std::string &path, UniqueFd &fd, struct stat &info, bool *missing)
{
    // Non-blocking, so that a FIFO in the file's place cannot hang us.
    fd.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.Valid()) {
        if (missing)
            *missing = errno == ENOENT;
        return FileResult::Failure(SystemError("Cannot open", path));
    }
    if (::fstat(fd.Get(), &info) != 0)
        return FileResult::Failure(SystemError("Cannot read", path));
    if (S_ISDIR(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is a directory");
    if (!S_ISREG(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is not a regular file");
    return {};
}

FileResult FolderRefusal(const std::string &dir, const char *why)
{
    return FileResult::Failure("Cannot use the folder \"" + dir + "\": " + why);
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
    UniqueFd fd;
    struct stat info = {};
    if (FileResult opened = OpenForReading(path, fd, info, missing); !opened.ok)
        return opened;
    const std::string tooLarge = "Cannot read \"" + path + "\": the file is larger than " +
                                 std::to_string(maxSize / (size_t{1024} * 1024)) +
                                 " MiB and is not a parameter file";
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
        const ssize_t got = RetryInterrupted(
            [&] { return ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled); });
        if (got < 0) {
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
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    // A missing file is made here, and never through a link under its name.
    UniqueFd fd(::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600));
    const bool created = fd.Valid();
    if (!created && errno == EEXIST)
        fd.Reset(::open(path.c_str(), flags));
    if (!fd.Valid() && errno == ELOOP)
        return Refusal(path, kIsLink);
    struct stat old = {};
    // Without any write bit the file is read-only, also for root.
    const bool writable = fd.Valid() && ::fstat(fd.Get(), &old) == 0 && S_ISREG(old.st_mode) &&
                          (old.st_mode & 0222) != 0;
    // The room is taken first, so that a full disk leaves the file as it was.
    const auto size = static_cast<off_t>(bytes.size());
    if (writable && (size <= old.st_size || ::fallocate(fd.Get(), 0, 0, size) == 0)) {
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = RetryInterrupted([&] {
                return ::pwrite(fd.Get(), bytes.data() + written, bytes.size() - written,
                                static_cast<off_t>(written));
            });
            if (n <= 0)
                break;
            written += static_cast<size_t>(n);
        }
        if (written == bytes.size() && ::ftruncate(fd.Get(), size) == 0)
            return {};
    }
    fd.Reset();
    if (created)
        ::unlink(path.c_str()); // the replacement tells why it cannot be written
    return Replace(path, bytes, false, ReadOnlyTarget::Refuse, Links::Refuse);
}

FileResult ReplaceFile(const std::string &path, std::string_view bytes, bool flushToDisk,
                       ReadOnlyTarget readOnly)
{
    return Replace(path, bytes, flushToDisk, readOnly, Links::FollowOwn);
}

namespace {

FileResult Replace(const std::string &path, std::string_view bytes, bool flushToDisk,
                   ReadOnlyTarget readOnly, Links links)
{
    std::string target;
    if (FileResult refused = ResolveLink(path, links, target); !refused.ok)
        return refused;
    struct stat old = {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return FileResult::Failure(SystemError("Cannot write", path));
    if (exists && S_ISDIR(old.st_mode))
        return Refusal(path, "it is a directory");
    if (exists && !S_ISREG(old.st_mode))
        return Refusal(path, "it is not a regular file");
    // Without any write bit the file is read-only, also for root, who could
    // otherwise replace it.
    const bool isReadOnly =
        exists && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0);
    if (isReadOnly && readOnly == ReadOnlyTarget::Refuse)
        return Refusal(path, "the file is read-only");
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

} // namespace

FileResult AppendToPrivateFile(const std::string &path, std::string_view bytes)
{
    const int flags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    UniqueFd fd(::open(path.c_str(), flags | O_NOFOLLOW, 0600));
    if (!fd.Valid() && errno == ELOOP)
        return Refusal(path, kIsLink);
    if (!fd.Valid())
        return FileResult::Failure(SystemError("Cannot write", path));
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Refusal(path, "it is not a regular file");
    if ((info.st_mode & 077) != 0)
        ::fchmod(fd.Get(), info.st_mode & 0700);
    if (!WriteAll(fd.Get(), bytes))
        return FileResult::Failure(SystemError("Cannot write", path));
    return {};
}

FileResult CheckPrivateFolder(const std::string &dir)
{
    if (dir.empty())
        return FileResult::Failure(
            "Cannot find a folder of this user: HOME is not set and the user has no home folder");
    struct stat name = {};
    struct stat folder = {};
    if (::lstat(dir.c_str(), &name) != 0 || ::stat(dir.c_str(), &folder) != 0)
        return FileResult::Failure(SystemError("Cannot use the folder", dir));
    if (S_ISLNK(name.st_mode) && name.st_uid != ::geteuid())
        return FolderRefusal(dir, kIsOthersLink);
    if (!S_ISDIR(folder.st_mode))
        return FolderRefusal(dir, "it is not a folder");
    if (folder.st_uid != ::geteuid())
        return FolderRefusal(dir, "another user owns it");
    if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return FolderRefusal(dir, "other users may write to it");
    return {};
}

FileResult PreparePrivateFolder(const std::string &dir)
{
    // Each missing folder on the way is made 0700; an existing one is left
    // as it is and only the last one is checked.
    for (size_t end = dir.find('/', 1); !dir.empty(); end = dir.find('/', end + 1)) {
        ::mkdir(dir.substr(0, end).c_str(), 0700);
        if (end == std::string::npos)
            break;
    }
    return CheckPrivateFolder(dir);
}

FileResult CheckPlainFile(const std::string &path)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? FileResult()
                               : FileResult::Failure(SystemError("Cannot use", path));
    if (S_ISLNK(info.st_mode))
        return Refusal(path, kIsLink);
    if (!S_ISREG(info.st_mode))
        return Refusal(path, "it is not a regular file");
    return {};
}

FileResult ReadFirstLine(const std::string &path, std::string &line)
{
    line.clear();
    UniqueFd fd;
    struct stat info = {};
    if (FileResult opened = OpenForReading(path, fd, info, nullptr); !opened.ok)
        return opened;
    char bytes[1024];
    const ssize_t got = RetryInterrupted([&] { return ::read(fd.Get(), bytes, sizeof bytes); });
    if (got < 0)
        return FileResult::Failure(SystemError("Cannot read", path));
    line.assign(bytes, static_cast<size_t>(got));
    line.erase(std::min(line.find('\n'), line.size()));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
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

bool ForceDeleteFile(const std::string &path)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    if (errno != EACCES && errno != EPERM)
        return false;
    // lstat: a link's target is not ours to make writable.
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool SameFile(int fd, const std::string &path)
{
    struct stat held = {};
    struct stat named = {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace platform
