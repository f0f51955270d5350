#include "window/item_animation.h"

#include "window/menu_window.h"

namespace ambrevo {
namespace {

std::optional<FramePosition> ForthAndBack(FramePosition now, int lastFrame, bool loop) {
    FramePosition next{now.runningBack ? now.frame - 1 : now.frame + 1, now.runningBack};
    if (next.frame > lastFrame) next = {lastFrame - 1, true};
    if (next.frame < 0) {
        if (!loop) return std::nullopt;
        next = {1, false};
    }
    return next;
}

}  // namespace

std::optional<FramePosition> NextFrame(std::int32_t mode, FramePosition now, int lastFrame,
                                       std::mt19937& random) {
    switch (static_cast<AnimationMode>(mode)) {
        case AnimationMode::Static:
            if (now.frame == 0) return std::nullopt;
            return FramePosition{0, now.runningBack};
        case AnimationMode::RandomFrame:
            return FramePosition{std::uniform_int_distribution<int>(0, lastFrame)(random),
                                 now.runningBack};
        case AnimationMode::PlayOnce:
            if (now.frame + 1 > lastFrame) return std::nullopt;
            return FramePosition{now.frame + 1, now.runningBack};
        case AnimationMode::Loop:
            return FramePosition{now.frame + 1 > lastFrame ? 0 : now.frame + 1, now.runningBack};
        case AnimationMode::ForthAndBackOnce:
            return ForthAndBack(now, lastFrame, false);
        case AnimationMode::ForthAndBackLoop:
            return ForthAndBack(now, lastFrame, true);
    }
    return now;
}

void TfrmMenuCls::AnimateItems() {
    for (int n = 1; n <= itemCount_; ++n) AnimateItem(n);
    AnimateDescriptionPicture();
}

void TfrmMenuCls::AnimateItem(int n) {
    ItemState& state = states_[static_cast<std::size_t>(n)];
    const int set = static_cast<int>(state.set);
    const int lastFrame =
        def_.lastFrame[static_cast<std::size_t>(n)][static_cast<std::size_t>(set)];
    if (lastFrame == 0) return;
    const std::optional<FramePosition> next =
        NextFrame(Item(n).animationMode, state.position, lastFrame, random_);
    if (!next) return;
    // A frame the set lacks leaves the control empty for this step.
    ShowPicture(*Controls(n).picture, n, set, next->frame);
    state.position = *next;
}

// The description picture plays the selected item's Description frames, shown or not.
void TfrmMenuCls::AnimateDescriptionPicture() {
    const int n = selectedItem_;
    if (!IsItem(n)) return;
    constexpr int kDescription = static_cast<int>(PictureSet::Description);
    const int lastFrame = def_.lastFrame[static_cast<std::size_t>(n)][kDescription];
    if (lastFrame == 0) return;
    if (++descriptionFrame_ > lastFrame) descriptionFrame_ = 0;
    ShowPicture(*parts_.descriptionPicture, n, kDescription, descriptionFrame_);
}

}  // namespace ambrevo
