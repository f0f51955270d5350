// Writes a disc program with the heavy menu of the load benchmark: a copy of the player
// with a package of that one menu appended. The time-to-window measurement runs it; with
// --animated its items lie in a grid and loop through their frames, for measuring the
// animation rate (bench/web_first_frame.py).
//   rich_menu_disc [--animated] PLAYER.exe OUTPUT.exe

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "heavy_menu.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"

namespace {

constexpr int kAnimationInterval = 50;  // milliseconds: 20 frames a second
constexpr int kLoop = 3;                // the animation mode that loops through the frames
constexpr int kColumns = 5;

void Animate(ambrevo::MenuDefinition& menu) {
    menu.animationInterval = kAnimationInterval;
    for (std::size_t n = 0; n < menu.items.size(); ++n) {
        ambrevo::MenuItem& item = menu.items[n];
        item.left = static_cast<int>(n % kColumns) * 128;
        item.top = static_cast<int>(n / kColumns) * 64 % 480;
        item.animationMode = kLoop;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool animated = argc == 4 && std::strcmp(argv[1], "--animated") == 0;
    if (argc != 3 && !animated) {
        std::fprintf(stderr, "usage: %s [--animated] PLAYER.exe OUTPUT.exe\n", argv[0]);
        return 2;
    }
    const char* player_path = argv[argc - 2];
    const char* output_path = argv[argc - 1];
    std::ifstream in(player_path, std::ios::binary);
    const std::vector<std::uint8_t> player{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (!in || player.empty()) {
        std::fprintf(stderr, "cannot read %s\n", player_path);
        return 1;
    }
    using namespace ambrevo;
    MenuDefinition menu = bench::HeavyMenu();
    if (animated) Animate(menu);
    const auto body = pack::WriteMenuBody(menu, pack::kLatestMenuVersion);
    const std::vector<pack::PackageEntryData> entries{{"heavy.mnu", body}};
    const auto file = pack::WritePackage(player, entries);
    std::ofstream out(output_path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", output_path);
        return 1;
    }
    std::printf("%s: %zu bytes, the menu %zu\n", output_path, file.size(), body.size());
    return 0;
}
