#pragma once
// Whole-file reads and replacements that never leave a half-written file:
// the new content goes to a file beside the old one, which is then renamed
// over it.

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

// Copies a regular file of at most maxSize bytes over another, in one step.
FileResult CopyWholeFile(const std::string &from, const std::string &to, size_t maxSize);

// Deletes the file. A missing file counts as deleted. When the deletion is
// refused, the file is made writable and the deletion tried once more.
bool ForceDeleteFile(const std::string &path);

// "Cannot <what> "<path>": <errno text>".
std::string SystemError(const std::string &what, const std::string &path);

} // namespace platform
