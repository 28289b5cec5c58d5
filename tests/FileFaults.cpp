// The wrappers of the system calls that writing a file makes: the linker
// sends every call of open, write, fsync, close and rename in the test
// program (the libraries under test included) here, and a wrapper fails
// the call when a test has put a fault in place.
#include "SaveFaults.h"

#include <fcntl.h>

#include <cstdarg>

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);

int __wrap_open(const char* path, int flags, ...) {
    int mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, int);
        va_end(args);
    }
    if (FileFaults().Open) return FileFaults().Open(path, flags, mode);
    return __real_open(path, flags, mode);
}
ssize_t __wrap_write(int fd, const void* data, size_t size) {
    if (FileFaults().Write) return FileFaults().Write(fd, data, size);
    return __real_write(fd, data, size);
}
int __wrap_fsync(int fd) {
    if (FileFaults().Sync) return FileFaults().Sync(fd);
    return __real_fsync(fd);
}
int __wrap_close(int fd) {
    if (FileFaults().Close) return FileFaults().Close(fd);
    return __real_close(fd);
}
int __wrap_rename(const char* from, const char* to) {
    if (FileFaults().Rename) return FileFaults().Rename(from, to);
    return __real_rename(from, to);
}
}

TFileFaults& FileFaults() {
    static TFileFaults faults;
    return faults;
}
