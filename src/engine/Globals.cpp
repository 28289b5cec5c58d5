// The evaluation cells and the floating-point set-up of the process.
#include "engine/Engine.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>
#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

TEvalContext MainContext;

namespace {
thread_local TEvalContext* Current = &MainContext;
int ThreadsSet = 0; // SetBuildThreads' count, or 0
} // namespace

TEvalContext& CurrentContext() {
    return *Current;
}

TContextScope::TContextScope(TEvalContext& context) : saved_(Current) {
    Current = &context;
}

TContextScope::~TContextScope() {
    Current = saved_;
}

int BuildThreads() {
    if (ThreadsSet > 0) return ThreadsSet;
    static const int fromEnvironment = [] {
        if (const char* text = std::getenv("PLOTTER_THREADS")) {
            char* end = nullptr;
            const long n = std::strtol(text, &end, 10);
            if (end != text && *end == 0 && n >= 1 && n <= 1024) return static_cast<int>(n);
        }
        return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    }();
    return fromEnvironment;
}

void RunTasks(std::size_t count, int threads, const std::function<void(std::size_t)>& task) {
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::exception_ptr failure;
    const auto run = [&] {
        try {
            for (std::size_t k; (k = next.fetch_add(1)) < count;)
                task(k);
        } catch (...) {
            next = count; // no more tasks for anyone
            const std::lock_guard<std::mutex> lock(mutex);
            if (!failure) failure = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int k = 1; k < threads; ++k)
            helpers.emplace_back(run);
        run();
    } // the helpers have stopped
    if (failure) std::rethrow_exception(failure);
}

void SetBuildThreads(int threads) {
    ThreadsSet = std::max(threads, 0);
}

void InitMemoryReuse() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

void InitFloatingPoint() {
    // Overflow gives an infinity and an invalid operation a NaN, silently:
    // every plotting loop filters non-finite values itself.
    std::feclearexcept(FE_ALL_EXCEPT); // nothing pending when the masks change
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
    // long double arithmetic on the x87 unit: 64-bit significand, all masked.
    fpu_control_t cw = _FPU_EXTENDED | _FPU_RC_NEAREST | _FPU_MASK_IM | _FPU_MASK_DM |
                       _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM;
    _FPU_SETCW(cw);
#endif
}
