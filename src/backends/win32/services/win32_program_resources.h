#pragma once

#include <windows.h>

#include "services/sound_player.h"

namespace ambrevo::win32 {

// The resources of one module: the program's own, or a file loaded as data.
class Win32ProgramResources : public ProgramResources {
public:
    explicit Win32ProgramResources(HMODULE module) : module_(module) {}

    const void* Load(const std::string& type, const std::string& name) override;

private:
    HMODULE module_;
};

}  // namespace ambrevo::win32
