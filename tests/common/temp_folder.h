#pragma once
// A fresh folder per test, removed with everything in it afterwards, and
// whole-file reads and writes for looking at bytes, and at modes.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrel-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        // A test may have left a read-only file; root or not, removal works
        // through the folder's own permissions.
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return m_path; }
    std::string File(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The permission bits of the file or folder (of a link itself), 0 when missing.
inline mode_t ModeOf(const std::string &path)
{
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A link as another user plants it in a shared folder. Only root can give a
// link away: false elsewhere, where the link stays the caller's.
inline bool PlantOthersLink(const std::string &target, const std::string &link)
{
    std::filesystem::create_symlink(target, link);
    return ::geteuid() == 0 && ::lchown(link.c_str(), 65534, 65534) == 0;
}
