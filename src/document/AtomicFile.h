// Files written whole before they replace an older one: the bytes go into a
// new file beside the old, which is synced and then renamed over it, so a
// failed write never loses or truncates an earlier file and leaves nothing
// beside it. Plot files and exported pictures and meshes are written so.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A failure to read or write a file, with the message the user sees.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The run-time's words for a system error number ("File not found", "Disk
// full" ...), as the plot files have always said them.
std::string FileErrorMessage(int error);

// What the user is told of a file that could not be read or written: the
// file, the cause in the window's language, and the run-time's words.
enum class TFileAction { Read, Write };
std::string FileFailureMessage(const std::string& path, int error, TFileAction action);

// The file a write to `path` replaces: the target of a symbolic link (of a
// chain of them), else `path` itself. Refused with FileError: a link that
// leads nowhere it can end, and a file that is there but is no regular file
// (a folder, a pipe, a device) or that the user may not write.
std::string WriteTarget(const std::string& path);

// True when both name one existing file (the same device and inode).
bool SameFile(const std::string& a, const std::string& b);

// Where a writer puts its bytes: buffered, and passed to the file in large
// pieces. A failure throws FileError.
class TFileSink {
  public:
    virtual ~TFileSink() = default;
    virtual void Write(const void* data, std::size_t size) = 0;
    void Write(std::string_view text) { Write(text.data(), text.size()); }
};

// Writes what `produce` puts into the sink as the file `path`, atomically:
// into WriteTarget(path), whose permissions the new file keeps. Throws
// FileError with the reason; then no file beside it is left and an earlier
// file of that name is as it was.
void WriteFileAtomically(const std::string& path, const std::function<void(TFileSink&)>& produce);
