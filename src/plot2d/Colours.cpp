#include "plot2d/Colours.h"

TColorValue AxesColor = ClGreen;
TColorValue BackgroundColor = ClWhite;
TColorValue FontColor = ClBlack;
TColorValue GraphColors[11] = {ClBlue, ClBlue, ClBlue, ClBlue, ClBlue, ClBlue,
                               ClBlue, ClBlue, ClBlue, ClBlue, ClBlue};

void SetDefaultColours() {
    for (auto& c : GraphColors)
        c = ClBlue;
    AxesColor = ClGreen;
    BackgroundColor = ClWhite;
    FontColor = ClBlack;
}
