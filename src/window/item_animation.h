#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace ambrevo {

// An item's animation modes, as the menu stores them; any other value puts the same
// frame in again on every step.
enum class AnimationMode : std::int32_t {
    Static = 0,
    RandomFrame = 1,
    PlayOnce = 2,
    Loop = 3,
    ForthAndBackOnce = 4,
    ForthAndBackLoop = 5,
};

// Where an item's animation stands in its current picture set.
struct FramePosition {
    int frame = 0;
    bool runningBack = false;  // the forth-and-back modes are counting down
    bool operator==(const FramePosition&) const = default;
};

// One animation step of a set whose frames run 0..lastFrame (lastFrame above 0).
// Nothing when the item rests where it is (a static item on frame 0, a play-once item
// on its last frame, a forth-and-back-once item back on frame 0).
std::optional<FramePosition> NextFrame(std::int32_t mode, FramePosition now, int lastFrame,
                                       std::mt19937& random);

}  // namespace ambrevo
