// The settings that are not part of a plot: the colours of the 2D picture,
// the frame range of the animation and the way the flying camera looks. They
// start at their defaults when the main window is created and are never
// stored in plot files except for the frame range.
#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR (red in the low byte).
using TColorValue = std::uint32_t;

constexpr TColorValue ClBlue = 0xFF0000, ClGreen = 0x008000, ClWhite = 0xFFFFFF, ClBlack = 0,
                      ClSilver = 0xC0C0C0;

constexpr int GraphColourCount = 11;
constexpr int ColourBlockSize = 3 + GraphColourCount;

// The colours of the 2D picture, one block of fourteen in this order; the
// colours dialog edits the block through a working copy.
extern TColorValue AxesColor;       // the axes
extern TColorValue BackgroundColor; // the plot area
extern TColorValue FontColor;       // axis letters, and grid labels while the axes are on
// Graph pens: 0 for the single formula and the parametric curve, k for list item k.
extern TColorValue GraphColors[GraphColourCount];

// The colour of list item k (from 1) among the graph colours `graph`:
// item k's own up to the tenth, and after it again the first ten's, in turn.
TColorValue ListGraphColour(const TColorValue* graph, int k);

// The block of fourteen colours as an array, position by position.
struct TColourBlock {
    TColorValue Values[ColourBlockSize];
};
TColourBlock CurrentColours();
void ApplyColours(const TColourBlock& block);
TColourBlock DefaultColours();

// The frames of the animation: f runs from FirstFrame to LastFrame, one
// frame every FrameInterval milliseconds.
extern std::int32_t FirstFrame;
extern std::int32_t LastFrame;
extern std::int32_t FrameInterval;

// What can be typed into the animation dialog: frame numbers up to a
// thousand million either way, and from no tick at all (0) to a frame an
// hour. A plot file holds any 32-bit values, and keeps them: the frame
// arithmetic is safe at the limits, and an interval below 0 gives no ticks.
constexpr std::int32_t MaxFrameNumber = 1000000000;
constexpr std::int32_t MaxFrameInterval = 3600000;

// Where the flying camera looks: 1 forward, 2 backward, 3 at the origin.
extern std::uint8_t ViewAlongMode;

// Every setting above to its start value.
void SetDefaultSettings();
