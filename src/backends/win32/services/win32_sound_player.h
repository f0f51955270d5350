#pragma once

#include "services/sound_player.h"

namespace ambrevo::win32 {

// Sounds through the multimedia library's PlaySoundA, which plays one sound at a time.
class Win32SoundPlayer : public SoundPlayer {
public:
    void PlayFile(const std::string& path, bool wait) override;
    void PlayClip(const void* clip, bool wait) override;
};

}  // namespace ambrevo::win32
