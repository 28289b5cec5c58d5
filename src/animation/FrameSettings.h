// The frame settings of the animation: the range of f and the timer interval.
#pragma once

extern int FirstFrame;    // first value of f
extern int LastFrame;     // last value of f
extern int FrameInterval; // milliseconds between frames
