#pragma once

#include "game/state/gamestate.h"

#include <optional>

// The title's blinking prompt and the banner's walking sheep, as counters.
namespace title {

// One blink step: BlinkState counts up; the prompt shows at 1 and hides at
// 2, when the count starts again. Returns the prompt's visibility after the
// step, or nullopt when the step leaves it as it was.
inline std::optional<bool> blinkStep(int16_t& blinkState) {
    blinkState = saturatingAdd(blinkState, 1);
    if (blinkState == 1) return true;
    if (blinkState == 2) {
        blinkState = 0;
        return false;
    }
    return std::nullopt;
}

// One banner step: TitleFrame counts up; the first pose is drawn at 1, the
// second at 2, when the count starts again. Returns the pose to draw on the
// freshly cleaned patch, or 0 for none.
inline int bannerStep(int16_t& titleFrame) {
    titleFrame = saturatingAdd(titleFrame, 1);
    if (titleFrame == 1) return 1;
    if (titleFrame == 2) {
        titleFrame = 0;
        return 2;
    }
    return 0;
}

}  // namespace title
