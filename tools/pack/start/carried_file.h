#pragma once

#include <cstddef>
#include <cstdint>

namespace ambrevo::pack {

// A file built into the tool (cmake/embed_folder.cmake): its path in the folder it came
// from, with "/" between names, and its bytes.
struct CarriedFile {
    const char* path;
    const std::uint8_t* bytes;
    std::size_t size;
};

}  // namespace ambrevo::pack
