#pragma once
// Whole-file reads and replacements that never leave a half-written file:
// the new content goes to a file beside the old one, which is then renamed
// over it. Scratch files written many times in a row are rewritten in place.
//
// Files made here are the user's alone (mode 0600 whatever the umask): the
// AT log and the parameter files hold passwords and the PIN. A symbolic link
// that another user owns is never written through: planted in a shared
// folder under the name of a file about to be written, it would send the
// content wherever its owner likes.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

struct FileResult
{
    bool ok = true;
    std::string error; // why it failed, naming the file
    static FileResult Failure(std::string why) { return {false, std::move(why)}; }
};

// Reads the whole regular file. A missing file, a directory, a file larger
// than maxSize or a read error is a failure; `missing` tells the first case
// apart.
FileResult ReadWholeFile(const std::string &path, size_t maxSize, std::string &bytes,
                         bool *missing = nullptr);

// What a replacement does with a read-only file in the target's place:
// refuse, or replace it with a file that its owner may write.
enum class ReadOnlyTarget { Refuse, MakeWritable };

// Replaces the file's content in one step, keeping its permissions (a new
// file gets 0600): the new content goes to a short, unpredictable name in
// the same folder (so any name legal for the target stays legal), which is
// then renamed over the target. A link of this user is replaced where it
// points, so the link survives; another user's link is refused. Until
// the rename succeeds the old file stays byte for byte; on failure the new
// one is removed. A directory in its place fails, and so does a read-only
// file unless `readOnly` says otherwise. flushToDisk waits until the new
// content is on the disk before the rename, so that not even a power cut
// leaves an empty file.
FileResult ReplaceFile(const std::string &path, std::string_view bytes, bool flushToDisk = true,
                       ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);

// Rewrites the content of a scratch file where it stands, for a file written
// many times in a row (the temporary parameter file takes one write per
// value read): replacing it by a rename each time makes the file system push
// every version towards the disk. A reader in between may see a part of it.
// A missing file is created anew (O_EXCL), and a symbolic link in its place
// is refused, whoever owns it. A file that is read-only or not a regular file
// is treated as ReplaceFile treats it, and so is one whose new length finds
// no room.
FileResult RewriteFile(const std::string &path, std::string_view bytes);

// Appends the bytes with one write, for a log that others may read, copy or
// delete between records: the file is created when missing; a symbolic link
// or anything but a regular file in its place is refused; a file that others
// may read (made by an earlier version) is narrowed to its owner.
FileResult AppendToPrivateFile(const std::string &path, std::string_view bytes);

// The folder of files that hold passwords. CheckPrivateFolder passes a folder
// this user owns that no other user may write (or this user's link to one);
// PreparePrivateFolder first makes it, and any missing parent, with mode 0700.
// "" stands for a user without a home folder and fails.
FileResult CheckPrivateFolder(const std::string &dir);
FileResult PreparePrivateFolder(const std::string &dir);

// Passes a missing file or a regular one; a symbolic link or anything else
// under the name fails.
FileResult CheckPlainFile(const std::string &path);

// The first line of a small regular file, without its line end (at most the
// first 1024 bytes are looked at).
FileResult ReadFirstLine(const std::string &path, std::string &line);

// Copies a regular file of at most maxSize bytes over another, in one step.
FileResult CopyWholeFile(const std::string &from, const std::string &to, size_t maxSize);

// Deletes the file. A missing file counts as deleted. When the deletion is
// refused, the file is made writable and the deletion tried once more.
bool ForceDeleteFile(const std::string &path);

// Files for the user alone: a new file is created 0600 where no file of
// that name is (a link in its place is not followed), written in full and
// flushed to the disk; on failure nothing of it stays. `exists` tells a
// name already taken apart from other failures.
FileResult WriteNewPrivateFile(const std::string &path, std::string_view bytes,
                               bool *exists = nullptr);

// "Cannot <what> "<path>": <errno text>".
std::string SystemError(const std::string &what, const std::string &path);

// Whether path names the very file fd has open (not a link to it): a lock
// file replaced or unlinked since it was opened no longer counts.
bool SameFile(int fd, const std::string &path);

} // namespace platform
