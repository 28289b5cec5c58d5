#include "animation/FrameAnimation.h"
#include "texts/Texts.h"

#include "document/Limits.h"
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

std::int32_t FrameSetting(const std::string& text, std::int32_t low, std::int32_t high,
                          std::int32_t kept) {
    const std::int32_t v = StrToInt(text);
    if ((v < low || v > high) && v != kept)
        throw BuildRefused(
            texts::Fill(texts::Translate(
                            "TForm2", "Номера кадров — от %1 до %2, шаг — от 0 до %3 мс, а не %4."),
                        {std::to_string(-MaxFrameNumber), std::to_string(MaxFrameNumber),
                         std::to_string(MaxFrameInterval), std::to_string(v)}));
    return v;
}
