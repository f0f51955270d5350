#pragma once

#include <cstdint>
#include <memory>

#include "menu/menu_model.h"

namespace ambrevo::bench {

constexpr int kHeavyItems = 60;
constexpr int kHeavySets = 3;
constexpr int kHeavyFrames = 8;

// Something like a rendered button: smooth gradients, a few hard edges, a little noise.
std::shared_ptr<Bitmap> MakePicture(int width, int height, std::uint32_t seed);

// A rich menu titled "Heavy": a 640 x 480 background and kHeavyItems items with
// kHeavySets sets of kHeavyFrames frames of 128 x 64 each.
MenuDefinition HeavyMenu();

}  // namespace ambrevo::bench
