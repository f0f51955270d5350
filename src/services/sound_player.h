#pragma once

#include <string>

namespace ambrevo {

// Plays one sound at a time: starting a sound stops the one that plays.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays the file at path; wait: return only when it has ended. A file that cannot be
    // played gives the system's default sound.
    virtual void PlayFile(const std::string& path, bool wait) = 0;
    // Plays a WAVE clip held in memory (a whole RIFF file); silent when it cannot play.
    virtual void PlayClip(const void* clip, bool wait) = 0;
};

// The resources built into the program file.
class ProgramResources {
public:
    virtual ~ProgramResources() = default;
    // The bytes of the resource name of type (letter case ignored), valid for the whole
    // run. Throws AppError with the system's text when it is missing or empty.
    virtual const void* Load(const std::string& type, const std::string& name) = 0;
};

}  // namespace ambrevo
