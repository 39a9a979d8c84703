#pragma once
// Whole-file reads and replacements that never leave a half-written file:
// the new content goes to a file beside the old one, which is then renamed
// over it. Scratch files written many times in a row are rewritten in place.

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

// Replaces the file's content in one step, keeping its permissions: the new
// content goes to a short-named file in the same folder (so any name legal
// for the target stays legal), which is then renamed over the target. Until
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
// A file that is missing, read-only or not a regular file is treated as
// ReplaceFile treats it, and so is one whose new length finds no room.
FileResult RewriteFile(const std::string &path, std::string_view bytes);

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
// The folder and every missing folder above it, each created 0700; those
// that exist are taken as they are.
FileResult MakePrivateFolders(const std::string &path);

// "Cannot <what> "<path>": <errno text>".
std::string SystemError(const std::string &what, const std::string &path);

} // namespace platform
