// The coefficients of the colouring rule of 3D vertices, chosen at random.
#pragma once

constexpr int ColourCoeffCount = 6;
extern double ColourCoeffs[ColourCoeffCount];

// Each coefficient a uniform random number from [0, 1) times 3, in order.
void RandomiseColourCoeffs();
