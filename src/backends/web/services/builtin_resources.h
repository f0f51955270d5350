#pragma once

#include <cstddef>

namespace ambrevo::web {

// A resource compiled into the player: the bytes of one file of resources/.
struct BuiltinResource {
    const char* type;
    const char* name;
    const unsigned char* bytes;
    std::size_t size;
};

// Made by the build from the resource files (embed_resources.cmake).
extern const BuiltinResource kBuiltinResources[];
extern const std::size_t kBuiltinResourceCount;

}  // namespace ambrevo::web
