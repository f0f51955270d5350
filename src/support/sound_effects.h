#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <string>

#include "services/file_finder.h"
#include "services/sound_player.h"
#include "support/program_info.h"

namespace ambrevo {

// The interface sounds: start, select, click, change, exit (built in, each replaceable by
// a file beside the program) and no action (file only). Files are looked for in the
// program folder, some per menu and per item, before the built-in clip plays.
class SoundEffects {
public:
    // processMessages lets the window system run waiting messages (after a click sound).
    SoundEffects(SoundPlayer& player, FileFinder& files, const ProgramInfo& program,
                 std::function<void()> processMessages);

    // Keeps the five built-in clips; throws AppError when one is missing.
    void LoadBuiltInSounds(ProgramResources& resources);
    // 1 start, 3 click, 4 change, 5 exit; any other number the select sound.
    void PlayBuiltInSound(int number, bool wait);

    void PlayStartSound();
    void PlayExitSound();
    // menuName: the current menu's name; item: the item highlighted.
    void PlaySelectSound(const std::string& menuName, int item);
    // Plays at most once per action (see ClearClickSoundPlayed).
    void PlayClickSound(const std::string& menuName, int item, bool wait);
    // targetMenu: the name of the menu switched to.
    void PlayChangeSound(const std::string& targetMenu);
    void PlayNoActionSound();

    // Every item action starts with this, so that it sounds its click once.
    void ClearClickSoundPlayed() { clickSoundPlayed_ = false; }
    bool ClickSoundPlayed() const { return clickSoundPlayed_; }

private:
    // Which directory entries count as a sound file.
    enum class Existence {
        AnyEntry,   // any entry of that name, folders and hidden files included
        PlainFile,  // not a folder, not hidden, not system
    };
    // Plays the first of names (in the program folder) that exists; false when none does.
    bool PlayFirstFile(std::initializer_list<std::string> names, Existence rule, bool wait);

    SoundPlayer& player_;
    FileFinder& files_;
    const ProgramInfo& program_;
    std::function<void()> processMessages_;
    std::array<const void*, 6> builtIn_{};  // [1..5]
    bool clickSoundPlayed_ = false;
};

}  // namespace ambrevo
