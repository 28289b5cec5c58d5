// The frame animation: the frame counter runs from FirstFrame to LastFrame,
// one frame per tick of the main window's timer, and f takes its value.
#pragma once

#include <cstdint>
#include <string>

// The caption of Label1 while a frame is shown: " Кадр " and the number.
std::string FrameCaption(std::int32_t frame);

// After the frame FrameCounter holds was drawn: the next frame, or past the
// last one the first again (looping) or the last one with the animation over.
enum class TFrameAdvance { Next, Looped, Finished };
TFrameAdvance AdvanceFrameCounter(bool loop);

// A setting of the animation dialog: the whole number `text` holds, within
// [low, high], or equal to `kept`, the setting as it stands (a plot file may
// hold any). A text that is no whole number throws ConversionError; one
// outside throws BuildRefused with the ranges of frames and interval.
std::int32_t FrameSetting(const std::string& text, std::int32_t low, std::int32_t high,
                          std::int32_t kept);
