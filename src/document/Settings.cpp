#include "document/Settings.h"

// Set to their start values by SetDefaultSettings, below, when the program loads.
TColorValue AxesColor, BackgroundColor, FontColor;
TColorValue GraphColors[GraphColourCount];
std::int32_t FirstFrame, LastFrame, FrameInterval;
std::uint8_t ViewAlongMode;

namespace {

TColourBlock Block(TColorValue axes, TColorValue background, TColorValue font,
                   const TColorValue (&graphs)[GraphColourCount]) {
    TColourBlock block{{axes, background, font}};
    for (int k = 0; k < GraphColourCount; ++k)
        block.Values[3 + k] = graphs[k];
    return block;
}

} // namespace

TColourBlock CurrentColours() {
    return Block(AxesColor, BackgroundColor, FontColor, GraphColors);
}

void ApplyColours(const TColourBlock& block) {
    AxesColor = block.Values[0];
    BackgroundColor = block.Values[1];
    FontColor = block.Values[2];
    for (int k = 0; k < GraphColourCount; ++k)
        GraphColors[k] = block.Values[3 + k];
}

TColourBlock DefaultColours() {
    TColorValue graphs[GraphColourCount];
    for (auto& c : graphs)
        c = ClBlue;
    return Block(ClGreen, ClWhite, ClBlack, graphs);
}

void SetDefaultSettings() {
    FirstFrame = 1;
    LastFrame = 20;
    FrameInterval = 50;
    ApplyColours(DefaultColours());
    ViewAlongMode = 1;
}

namespace {
[[maybe_unused]] const bool SettingsStarted = (SetDefaultSettings(), true);
}

TColorValue ListGraphColour(const TColorValue* graph, int k) {
    return graph[1 + (k - 1) % (GraphColourCount - 1)];
}
