#include "backends/web/services/web_sound_player.h"

#include <cstring>

#include "backends/web/bridge/web_host.h"
#include "backends/web/services/web_disc.h"

namespace ambrevo::web {
namespace {

void WaitForSound(bool wait) {
    while (wait && ambrevo_host_sound_busy()) YieldToBrowser(10);
}

}  // namespace

void WebSoundPlayer::PlayFile(const std::string& path, bool wait) {
    const std::string listed = disc_.ListedName(path).value_or("");
    ambrevo_host_sound_file(listed.data(), listed.size());
    WaitForSound(wait);
}

void WebSoundPlayer::PlayClip(const void* clip, bool wait) {
    // A RIFF file: "RIFF", the size of what follows, then the rest.
    const auto* bytes = static_cast<const unsigned char*>(clip);
    if (!bytes || std::memcmp(bytes, "RIFF", 4) != 0) return;
    const std::size_t size =
        8 + (bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::size_t>(bytes[7]) << 24);
    ambrevo_host_sound_clip(clip, size);
    WaitForSound(wait);
}

}  // namespace ambrevo::web
