#include "geometry3d/Colouring.h"

#include "engine/Engine.h"

double ColourCoeffs[ColourCoeffCount] = {};

void RandomiseColourCoeffs() {
    for (double& c : ColourCoeffs)
        c = RandomReal() * 3;
}
