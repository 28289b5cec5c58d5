#include "view3d/CameraSettings.h"

int ViewAlongMode = 1;
