#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace {

TEST(Startup, FloatingPointExceptionsAreMaskedAndLongDoubleIsExtended) {
    // As a library might leave it (the flags of earlier arithmetic cleared
    // first: the x87 unit would raise a pending one at once).
    std::feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    InitFloatingPoint();
    EXPECT_EQ(fegetexcept(), 0);
#if defined(__x86_64__) || defined(__i386__)
    fpu_control_t cw;
    _FPU_GETCW(cw);
    EXPECT_EQ(cw & 0x3F, 0x3F);           // all six exceptions masked
    EXPECT_EQ(cw & 0x300, _FPU_EXTENDED); // 64-bit significand
    EXPECT_EQ(cw & 0xC00, _FPU_RC_NEAREST);
#endif
    volatile double zero = 0.0;
    EXPECT_TRUE(std::isinf(1.0 / zero)); // no trap: an infinity
    EXPECT_TRUE(std::isnan(zero / zero));
    volatile long double third = 1.0L / 3;
    EXPECT_NE(static_cast<double>(third), third); // more bits than a double
}

} // namespace
