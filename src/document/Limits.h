// The bound on the work of one picture, shared by the 2D walks and the 3D
// builders: no picture may ask for more points than this, and a build that
// would is refused with a message before anything changes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// 2048 x 2048 vertices of a surface, or as many points of a curve.
constexpr std::int64_t MaxPictureVertices = 4194304;

// A build that is refused, with the message the user sees.
class BuildRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The message for a build that would take `count` points.
std::string TooManyPointsMessage(long double count);

// The message for a step (named, with its value as text) too small to move
// the numbers of its range near `end` (as text).
std::string StuckStepMessage(const std::string& step, const std::string& value,
                             const std::string& end);

// The message for a picture of w x h pixels that cannot be made: no memory
// for its image, or a painter or renderer that does not take it.
std::string NoPictureMemoryMessage(int w, int h);
