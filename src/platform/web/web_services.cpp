#include "platform/web/web_services.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>

#include "platform/web/web_disc.h"
#include "platform/web/web_host.h"
#include "support/json_string.h"

namespace ambrevo::web {
namespace {

std::string TakeText(char* text) {
    if (!text) return {};
    std::string taken(text);
    std::free(text);
    return taken;
}

void WaitForSound(bool wait) {
    while (wait && ambrevo_host_sound_busy()) YieldToBrowser(10);
}

}  // namespace

void YieldToBrowser(int milliseconds) { emscripten_sleep(milliseconds); }

Date WebClock::Today() {
    int date[3] = {};
    ambrevo_host_today(date);
    return {date[0], date[1], date[2]};
}

std::string WebClock::LongTimeText() { return TakeText(ambrevo_host_time_text()); }
std::string WebClock::ShortDateText() { return TakeText(ambrevo_host_date_text()); }

std::uint32_t WebClock::Seed() {
    return static_cast<std::uint32_t>(emscripten_get_now() * 1000.0) ^
           static_cast<std::uint32_t>(emscripten_random() * 4294967295.0);
}

void WebDebugOutput::Write(const std::string& text) {
    ambrevo_host_debug(text.data(), text.size());
}

void WebDialogs::ShowMessageBox(const std::string& text, MessageKind kind,
                                const std::string& title) {
    ambrevo_host_message_box(text.data(), text.size(), title.data(), title.size(),
                             static_cast<int>(kind));
    while (ambrevo_host_message_box_open()) YieldToBrowser(16);
}

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

ShellResult WebShellLauncher::Launch(const ShellRequest& request) {
    const bool exists = disc_.FileExists(request.file) || disc_.Attributes(request.file);
    const std::string json = "{\"verb\":" + JsonString(request.verb) +
                             ",\"file\":" + JsonString(request.file) +
                             ",\"parameters\":" + JsonString(request.parameters) +
                             ",\"folder\":" + JsonString(request.folder) +
                             ",\"exists\":" + (exists ? "true" : "false") + "}";
    ambrevo_host_launch_shown(json.data(), json.size());
    ShellResult result;
    result.succeeded = true;
    return result;
}

}  // namespace ambrevo::web
