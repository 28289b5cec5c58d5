#include "animation/FrameAnimation.h"
#include "texts/Texts.h"

#include "document/Settings.h"
#include "engine/Engine.h"

std::string FrameCaption(std::int32_t frame) {
    return texts::Fill(texts::Translate("FrameAnimation", " Кадр %1"), {std::to_string(frame)});
}

TFrameAdvance AdvanceFrameCounter(bool loop) {
    // In 64 bits, so that a last frame at the top of the 32-bit range still
    // ends the animation instead of wrapping around.
    const std::int64_t next = std::int64_t{FrameCounter} + 1;
    if (next <= LastFrame) {
        FrameCounter = static_cast<std::int32_t>(next);
        return TFrameAdvance::Next;
    }
    if (loop) {
        FrameCounter = FirstFrame;
        return TFrameAdvance::Looped;
    }
    FrameCounter = LastFrame;
    return TFrameAdvance::Finished;
}
