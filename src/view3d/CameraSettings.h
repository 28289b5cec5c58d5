// How the camera on the space curve looks: 1 forward, and the other modes of
// the flying camera.
#pragma once

extern int ViewAlongMode;
