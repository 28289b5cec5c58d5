// RunTasks runs every task once on any number of threads, and a task that
// throws (out of memory, say) stops the handing out and reaches the caller
// instead of ending the program.
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <vector>

namespace {

TEST(Tasks, EachTaskOnceAndAFailureReachesTheCaller) {
    for (const int threads : {1, 2, 3, 7}) {
        std::vector<std::atomic<int>> runs(200);
        RunTasks(runs.size(), threads, [&](std::size_t k) { ++runs[k]; });
        for (const auto& r : runs)
            ASSERT_EQ(r.load(), 1) << threads << " threads";

        std::atomic<int> started{0};
        EXPECT_THROW(RunTasks(10000000, threads,
                              [&](std::size_t k) {
                                  ++started;
                                  if (k == 5) throw std::bad_alloc();
                              }),
                     std::bad_alloc)
            << threads << " threads";
        EXPECT_LT(started.load(), 10000000) << threads << " threads: the tasks went on";
    }
}

} // namespace
