// The colours of the 2D picture, as 0x00BBGGRR values (red in the low byte).
// One block of fourteen in this order; the colours dialog edits it.
#pragma once

#include <cstdint>

using TColorValue = std::uint32_t;

extern TColorValue AxesColor;       // the axes
extern TColorValue BackgroundColor; // the plot area
extern TColorValue FontColor;       // axis letters, and grid labels while the axes are on
// Graph pens: 0 for the single formula and the parametric curve, k for list item k.
extern TColorValue GraphColors[11];

constexpr TColorValue ClBlue = 0xFF0000, ClGreen = 0x008000, ClWhite = 0xFFFFFF, ClBlack = 0,
                      ClSilver = 0xC0C0C0;

void SetDefaultColours();
