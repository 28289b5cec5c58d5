#include "geometry3d/Colouring.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

namespace {

TEST(Colouring, CoefficientsAreDrawnInOrderTimesThree) {
    SeedRandom(7);
    double expected[ColourCoeffCount];
    for (double& c : expected)
        c = RandomReal() * 3;
    SeedRandom(7);
    RandomiseColourCoeffs();
    for (int i = 0; i < ColourCoeffCount; ++i) {
        EXPECT_EQ(ColourCoeffs[i], expected[i]) << i;
        EXPECT_GE(ColourCoeffs[i], 0);
        EXPECT_LT(ColourCoeffs[i], 3);
    }
}

} // namespace
