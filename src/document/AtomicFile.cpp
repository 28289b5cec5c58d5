#include "document/AtomicFile.h"

#include "texts/Texts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void WriteFailed(const std::string& path, int error) {
    throw FileError(FileFailureMessage(path, error, TFileAction::Write));
}

// The new file beside the old one, written through a buffer.
class TPartFile : public TFileSink {
  public:
    explicit TPartFile(const std::string& path) : path_(path) {
        // The name of the new file stays within the length a name may have:
        // the old name, cut where needed, and a suffix of its own.
        const std::string folder = Folder(path), base = BaseName(path);
        for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
            const std::string suffix =
                ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            const std::size_t room = NAME_MAX > suffix.size() ? NAME_MAX - suffix.size() : 0;
            part_ = (path.find('/') == std::string::npos ? std::string() : folder + "/") +
                    base.substr(0, room) + suffix;
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
    // Puts the complete file in place of `path`, with the permissions of
    // the file it replaces (not its set-id bits, which a new file never takes).
    void Finish(const std::string& path) {
        Flush();
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd_, old.st_mode & 0777) != 0) Fail(errno);
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
    [[noreturn]] void Fail(int error) { WriteFailed(path_, error); }

    std::string path_, part_;
    int fd_ = -1;
    std::vector<char> buffer_;
};

} // namespace

std::string WriteTarget(const std::string& path) {
    std::string target = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0) {
            if (errno == ENOENT) return target; // a new file
            WriteFailed(path, errno);
        }
        if (S_ISLNK(status.st_mode)) {
            if (links == 40) WriteFailed(path, ELOOP);
            char buffer[PATH_MAX];
            const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer - 1);
            if (n < 0) WriteFailed(path, errno);
            const std::string link(buffer, static_cast<std::size_t>(n));
            target = (!link.empty() && link.front() == '/') || target.find('/') == std::string::npos
                         ? link
                         : Folder(target) + "/" + link;
            continue;
        }
        if (!S_ISREG(status.st_mode)) WriteFailed(path, S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
        // The folder may let anyone replace it; the file itself says who may.
        if (::access(target.c_str(), W_OK) != 0) WriteFailed(path, errno);
        return target;
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

void WriteFileAtomically(const std::string& path, const std::function<void(TFileSink&)>& produce) {
    const std::string target = WriteTarget(path);
    TPartFile file(target);
    produce(file);
    file.Finish(target);
}

std::string FileFailureMessage(const std::string& path, int error, TFileAction action) {
    const bool write = action == TFileAction::Write;
    std::string cause;
    switch (error) {
    case ENOENT:
        cause = write
                    ? texts::Fill(texts::Translate("AtomicFile", "нет папки «%1»"), {Folder(path)})
                    : texts::Translate("AtomicFile", "такого файла нет");
        break;
    case EACCES:
    case EPERM:
        cause = write ? texts::Translate("AtomicFile", "нет права записывать его или в его папку")
                      : texts::Translate("AtomicFile", "нет права его читать");
        break;
    case EROFS:
        cause = texts::Translate("AtomicFile", "диск только для чтения");
        break;
    case ENOSPC:
    case EDQUOT:
        cause = texts::Translate("AtomicFile", "на диске нет места");
        break;
    case EISDIR:
        cause = texts::Translate("AtomicFile", "это папка");
        break;
    case EINVAL:
        cause = texts::Translate("AtomicFile", "это не обычный файл, а канал или устройство");
        break;
    case ENAMETOOLONG:
        cause = texts::Translate("AtomicFile", "имя слишком длинное");
        break;
    case ENOTDIR:
        cause = texts::Translate("AtomicFile", "в пути к нему есть файл, а не папка");
        break;
    case ELOOP:
        cause = texts::Translate("AtomicFile", "ссылки на него замыкаются в круг");
        break;
    default:
        cause = std::strerror(error);
        break;
    }
    return texts::Fill(write ? texts::Translate("AtomicFile", "Файл «%1» не записан: %2 (%3).")
                             : texts::Translate("AtomicFile", "Файл «%1» не прочитан: %2 (%3)."),
                       {path, cause, FileErrorMessage(error == ELOOP ? EINVAL : error)});
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
