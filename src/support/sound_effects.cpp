#include "support/sound_effects.h"

#include <initializer_list>
#include <utility>

namespace ambrevo {
namespace {

constexpr int kStart = 1;
constexpr int kSelect = 2;
constexpr int kClick = 3;
constexpr int kChange = 4;
constexpr int kExit = 5;

// Resource names of the built-in clips, by sound number.
constexpr const char* kClipNames[] = {nullptr,     "START_WAV",  "SELECT_WAV",
                                      "CLICK_WAV", "CHANGE_WAV", "EXIT_WAV"};

// A click is followed by this many rounds of message processing, so that the window
// repaints the pressed item before the action goes on.
constexpr int kRoundsAfterClick = 100;

// The part of a menu name before its first "."; empty for a name without ".".
std::string MenuBase(const std::string& menuName) {
    const std::size_t dot = menuName.find('.');
    return dot == std::string::npos ? std::string() : menuName.substr(0, dot);
}

}  // namespace

SoundEffects::SoundEffects(SoundPlayer& player, FileFinder& files, const ProgramInfo& program,
                           std::function<void()> processMessages)
    : player_(player),
      files_(files),
      program_(program),
      processMessages_(std::move(processMessages)) {}

void SoundEffects::LoadBuiltInSounds(ProgramResources& resources) {
    for (int number = kStart; number <= kExit; ++number) {
        builtIn_[number] = resources.Load("WAVE", kClipNames[number]);
    }
}

void SoundEffects::PlayBuiltInSound(int number, bool wait) {
    if (number != kStart && number != kClick && number != kChange && number != kExit) {
        number = kSelect;
    }
    // Before the clips are loaded there is nothing to play: silent, like a clip that fails.
    if (const void* clip = builtIn_[number]) player_.PlayClip(clip, wait);
}

void SoundEffects::PlayStartSound() {
    if (!PlayFirstFile({"start.wav"}, Existence::AnyEntry, false)) {
        PlayBuiltInSound(kStart, false);
    }
}

void SoundEffects::PlayExitSound() {
    if (!PlayFirstFile({"exit.wav"}, Existence::AnyEntry, true)) PlayBuiltInSound(kExit, true);
}

void SoundEffects::PlaySelectSound(const std::string& menuName, int item) {
    const std::string n = std::to_string(item);
    if (!PlayFirstFile({MenuBase(menuName) + "s" + n + ".wav", "select" + n + ".wav", "select.wav"},
                       Existence::AnyEntry, false)) {
        PlayBuiltInSound(kSelect, false);
    }
}

void SoundEffects::PlayClickSound(const std::string& menuName, int item, bool wait) {
    if (clickSoundPlayed_) return;
    clickSoundPlayed_ = true;
    const std::string n = std::to_string(item);
    if (!PlayFirstFile({MenuBase(menuName) + "c" + n + ".wav", "click" + n + ".wav", "click.wav"},
                       Existence::PlainFile, wait)) {
        PlayBuiltInSound(kClick, wait);
    }
    for (int round = 0; round < kRoundsAfterClick; ++round) processMessages_();
}

void SoundEffects::PlayChangeSound(const std::string& targetMenu) {
    if (!PlayFirstFile({MenuBase(targetMenu) + ".wav", "change.wav"}, Existence::PlainFile, true)) {
        PlayBuiltInSound(kChange, true);
    }
}

void SoundEffects::PlayNoActionSound() {
    PlayFirstFile({"noaction.wav"}, Existence::PlainFile, true);
}

bool SoundEffects::PlayFirstFile(std::initializer_list<std::string> names, Existence rule,
                                 bool wait) {
    for (const std::string& name : names) {
        const std::string path = program_.folder + name;
        const std::optional<FileAttributes> attributes = files_.Attributes(path);
        const bool exists =
            rule == Existence::AnyEntry ? attributes.has_value() : IsPlainFile(attributes);
        if (exists) {
            player_.PlayFile(path, wait);
            return true;
        }
    }
    return false;
}

}  // namespace ambrevo
