#include "document/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

[[noreturn]] void Fail(int error) {
    throw FileError(FileErrorMessage(error));
}

// The new file beside the old one, written through a buffer.
class TPartFile : public TFileSink {
  public:
    explicit TPartFile(const std::string& path) {
        for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
            part_ = path + ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            fd_ = ::open(part_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) Fail(errno);
        }
        if (fd_ < 0) Fail(EEXIST);
        buffer_.reserve(BufferSize);
    }
    ~TPartFile() override {
        if (fd_ >= 0) { // abandoned: nothing is left beside the old file
            ::close(fd_);
            ::unlink(part_.c_str());
        }
    }
    void Write(const void* data, std::size_t size) override {
        const auto* bytes = static_cast<const char*>(data);
        if (buffer_.size() + size > BufferSize) Flush();
        if (size >= BufferSize) {
            Put(bytes, size);
            return;
        }
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    }
    // Puts the complete file in place of `path`.
    void Finish(const std::string& path) {
        Flush();
        if (::fsync(fd_) != 0) Fail(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Discard(errno);
        if (std::rename(part_.c_str(), path.c_str()) != 0) Discard(errno);
    }

  private:
    static constexpr std::size_t BufferSize = 1 << 20;

    void Flush() {
        Put(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    void Put(const char* bytes, std::size_t size) {
        std::size_t written = 0;
        while (written < size) {
            const ssize_t n = ::write(fd_, bytes + written, size - written);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail(errno);
            }
            if (n == 0) Fail(ENOSPC);
            written += static_cast<std::size_t>(n);
        }
    }
    [[noreturn]] void Discard(int error) {
        ::unlink(part_.c_str());
        Fail(error);
    }

    std::string part_;
    int fd_ = -1;
    std::vector<char> buffer_;
};

} // namespace

void WriteFileAtomically(const std::string& path, const std::function<void(TFileSink&)>& produce) {
    TPartFile file(path);
    produce(file);
    file.Finish(path);
}

std::string FileErrorMessage(int error) {
    switch (error) {
    case ENOENT:
        return "File not found";
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(error);
    }
}
