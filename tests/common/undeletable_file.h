#pragma once
// A file that nobody, root included, can delete or change while this lives
// (the file system's immutable flag): Held() is false where the user may
// not set the flag or the file system has none.

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

class UndeletableFile
{
public:
    explicit UndeletableFile(std::string path) : m_path(std::move(path))
    {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        int flags = 0;
        m_held = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                 (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        ::close(fd);
    }
    ~UndeletableFile()
    {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    UndeletableFile(const UndeletableFile &) = delete;
    UndeletableFile &operator=(const UndeletableFile &) = delete;

    bool Held() const { return m_held; }

private:
    std::string m_path;
    bool m_held = false;
};
