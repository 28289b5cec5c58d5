#include "animation/FrameSettings.h"

int FirstFrame = 1;
int LastFrame = 20;
int FrameInterval = 50;
