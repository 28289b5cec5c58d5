// The points at which a save can fail, each as a fault of one system call
// of writing a file and the message the user then reads. The test programs
// that use them are linked with the system calls wrapped (FileFaults.cpp),
// so that the program's own code needs no hook for them.
#pragma once

#include <sys/types.h>

#include <cerrno>

// The system calls of writing a file, as the wrappers see them; a null
// entry passes the call on to the system.
struct TFileFaults {
    int (*Open)(const char* path, int flags, int mode) = nullptr;
    ssize_t (*Write)(int fd, const void* data, size_t size) = nullptr;
    int (*Sync)(int fd) = nullptr;
    int (*Close)(int fd) = nullptr;
    int (*Rename)(const char* from, const char* to) = nullptr;
};

// The faults in force; cleared by ClearFileFaults.
TFileFaults& FileFaults();
inline void ClearFileFaults() {
    FileFaults() = {};
}

// The system's own calls, past the wrappers.
extern "C" ssize_t __real_write(int fd, const void* data, size_t size);
extern "C" int __real_close(int fd);

struct TSaveFault {
    const char* name;
    void (*breakIt)(TFileFaults&);
    const char* message;
};

inline constexpr TSaveFault SaveFaults[] = {
    {"open",
     [](TFileFaults& s) {
         s.Open = [](const char*, int, int) {
             errno = EMFILE;
             return -1;
         };
     },
     "Too many open files"},
    {"a read-only folder",
     [](TFileFaults& s) {
         s.Open = [](const char*, int, int) {
             errno = EACCES;
             return -1;
         };
     },
     "File access denied"},
    {"write",
     [](TFileFaults& s) {
         s.Write = [](int, const void*, size_t) -> ssize_t {
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"a full disk halfway",
     [](TFileFaults& s) {
         s.Write = [](int fd, const void* d, size_t n) -> ssize_t {
             static int calls = 0;
             if (calls++ % 2 == 0) return __real_write(fd, d, n / 2);
             errno = ENOSPC;
             return -1;
         };
     },
     "Disk full"},
    {"sync",
     [](TFileFaults& s) {
         s.Sync = [](int) {
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"close",
     [](TFileFaults& s) {
         s.Close = [](int fd) {
             __real_close(fd);
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"rename",
     [](TFileFaults& s) {
         s.Rename = [](const char*, const char*) {
             errno = EXDEV;
             return -1;
         };
     },
     "I/O error 18"},
};
