#pragma once

#include <list>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "services/sound_player.h"
#include "support/app_error.h"

namespace ambrevo::testing {

// Records every sound asked for instead of playing it. A clip is recorded by its text:
// the clips of FakeProgramResources are C strings naming their resource.
class FakeSoundPlayer : public SoundPlayer {
public:
    struct Played {
        std::string sound;  // "file <path>" or "clip <text of the clip>"
        bool wait;
        bool operator==(const Played&) const = default;
    };

    void PlayFile(const std::string& path, bool wait) override {
        played.push_back({"file " + path, wait});
    }
    void PlayClip(const void* clip, bool wait) override {
        played.push_back({"clip " + std::string(static_cast<const char*>(clip)), wait});
    }

    std::vector<Played> played;
};

inline void PrintTo(const FakeSoundPlayer::Played& played, std::ostream* out) {
    *out << "{\"" << played.sound << "\", " << (played.wait ? "wait" : "no wait") << "}";
}

// Resources whose bytes are the text "type/name"; names made missing throw as the
// system's lookup would. Records the names asked for, in order.
class FakeProgramResources : public ProgramResources {
public:
    const void* Load(const std::string& type, const std::string& name) override {
        asked.push_back(type + "/" + name);
        if (missing.count(name) != 0) {
            throw AppError("The specified resource name cannot be found in the image file");
        }
        return kept_.emplace_back(type + "/" + name).c_str();
    }

    std::set<std::string> missing;
    std::vector<std::string> asked;

private:
    std::list<std::string> kept_;  // a list, so the texts handed out never move
};

}  // namespace ambrevo::testing
