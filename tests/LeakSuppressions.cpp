// Leaks that the leak check of the sanitizer build does not count: blocks
// that the system's D-Bus library keeps for the life of the process (the
// platform theme and the print support reach it), which no code of ours
// allocates or could free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
