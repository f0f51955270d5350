#include "backends/win32/services/win32_sound_player.h"

#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {

// A file name is tried as a sound alias first, then as a file; one that cannot be
// played gives the system's default sound.
void Win32SoundPlayer::PlayFile(const std::string& path, bool wait) {
    SoundLibrary().playSound(Widen(path).c_str(), nullptr, wait ? 0 : SND_ASYNC);
}

// A clip that cannot be played stays silent rather than sound the default.
void Win32SoundPlayer::PlayClip(const void* clip, bool wait) {
    SoundLibrary().playSound(static_cast<LPCWSTR>(clip), nullptr,
                             SND_MEMORY | SND_NODEFAULT | (wait ? 0 : SND_ASYNC));
}

}  // namespace ambrevo::win32
