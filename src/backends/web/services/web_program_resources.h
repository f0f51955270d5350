#pragma once

#include <string>

#include "services/sound_player.h"

namespace ambrevo::web {

// The built-in sounds, compiled into the player (web_builtin_sounds.cpp, made by the build).
class WebProgramResources : public ProgramResources {
public:
    const void* Load(const std::string& type, const std::string& name) override;
};

}  // namespace ambrevo::web
