#include "heavy_menu.h"

#include <string>

namespace ambrevo::bench {

std::shared_ptr<Bitmap> MakePicture(int width, int height, std::uint32_t seed) {
    auto picture = std::make_shared<Bitmap>();
    picture->width = width;
    picture->height = height;
    picture->pixels.resize(static_cast<std::size_t>(width) * height);
    std::uint32_t noise = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const std::uint32_t r = (x * 255 / width + seed) & 0xFF;
            const std::uint32_t g = (y * 255 / height) & 0xFF;
            const std::uint32_t b = ((x / 16 + y / 16) % 2 ? 0xC0 : 0x40) + (noise >> 29);
            picture->pixels[static_cast<std::size_t>(y) * width + x] = (r << 16) | (g << 8) | b;
        }
    }
    return picture;
}

MenuDefinition HeavyMenu() {
    MenuDefinition menu;
    menu.title = "Heavy";
    menu.pictures.StorePicture(0, 0, 0, MakePicture(640, 480, 7));
    for (int item = 1; item <= kHeavyItems; ++item) {
        MenuItem entry;
        entry.target = "doc" + std::to_string(item) + ".pdf";
        entry.caption = "Item " + std::to_string(item);
        menu.items.push_back(entry);
        for (int set = 0; set < kHeavySets; ++set) {
            for (int frame = 0; frame < kHeavyFrames; ++frame) {
                menu.pictures.StorePicture(item, set, frame,
                                           MakePicture(128, 64, item * 97 + set * 13 + frame));
            }
        }
    }
    return menu;
}

}  // namespace ambrevo::bench
