#pragma once

#include <string>

#include "services/sound_player.h"

namespace ambrevo::web {

class WebDisc;

// Web Audio: clips from memory, sound files from the disc beside the menu.
class WebSoundPlayer : public SoundPlayer {
public:
    explicit WebSoundPlayer(const WebDisc& disc) : disc_(disc) {}
    void PlayFile(const std::string& path, bool wait) override;
    void PlayClip(const void* clip, bool wait) override;

private:
    const WebDisc& disc_;
};

}  // namespace ambrevo::web
