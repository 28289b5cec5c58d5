// The points at which a save can fail, each as a change to the steps of
// writing a file and the message the user then reads.
#pragma once

#include "document/PlotFile.h"

#include <unistd.h>

#include <cerrno>

struct TSaveFault {
    const char* name;
    void (*breakIt)(TFileSteps&);
    const char* message;
};

inline constexpr TSaveFault SaveFaults[] = {
    {"open",
     [](TFileSteps& s) {
         s.Open = [](const char*, int, int) {
             errno = EMFILE;
             return -1;
         };
     },
     "Too many open files"},
    {"a read-only folder",
     [](TFileSteps& s) {
         s.Open = [](const char*, int, int) {
             errno = EACCES;
             return -1;
         };
     },
     "File access denied"},
    {"write",
     [](TFileSteps& s) {
         s.Write = [](int, const void*, unsigned long) -> long {
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"a full disk halfway",
     [](TFileSteps& s) {
         s.Write = [](int fd, const void* d, unsigned long n) -> long {
             static int calls = 0;
             if (calls++ % 2 == 0) return ::write(fd, d, n / 2);
             errno = ENOSPC;
             return -1;
         };
     },
     "Disk full"},
    {"sync",
     [](TFileSteps& s) {
         s.Sync = [](int) {
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"close",
     [](TFileSteps& s) {
         s.Close = [](int fd) {
             ::close(fd);
             errno = EIO;
             return -1;
         };
     },
     "I/O error 5"},
    {"rename",
     [](TFileSteps& s) {
         s.Rename = [](const char*, const char*) {
             errno = EXDEV;
             return -1;
         };
     },
     "I/O error 18"},
};
