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

// The message for a system error number, as the user reads it.
std::string FileErrorMessage(int error);

// Where a writer puts its bytes: buffered, and passed to the file in large
// pieces. A failure throws FileError.
class TFileSink {
  public:
    virtual ~TFileSink() = default;
    virtual void Write(const void* data, std::size_t size) = 0;
    void Write(std::string_view text) { Write(text.data(), text.size()); }
};

// Writes what `produce` puts into the sink as the file `path`, atomically.
// Throws FileError with the reason; then no file beside it is left and an
// earlier file of that name is as it was.
void WriteFileAtomically(const std::string& path, const std::function<void(TFileSink&)>& produce);
